// iwvestra-benchdata: writes a goods file or a terminal data file of a given
// number of lines, always the same for the same arguments, for measuring the
// conversions on files of a realistic size and shape.

#include <cstdio>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "common/Cp1250.h"

namespace {

template <std::size_t N>
std::string W(const char (&utf8)[N]) {
    return std::string(iwv::Cp1250(utf8).view());
}

std::vector<std::string> Words() {
    return {W("Mąka"),   W("pszenna"), W("Sól"),       W("kamienna"), W("Masło"),   W("extra"),   W("Chleb"),
            W("żytni"),  W("Śmietana"), W("18%"),      W("Żurek"),    W("śląski"),  W("Ćwikła"),  W("z"),
            W("chrzanem,"), W("Łosoś"), W("wędzony"),  W("Jabłka"),   W("Gęsi"),    W("smalec"),  W("słoik"),
            W("500 g"),  W("1 kg,"),   W("kubek"),     W("ogórki"),   W("kiszone"), W("pieczywo"), W("źródlana")};
}

class Generator {
public:
    explicit Generator(std::FILE* out) : out_(out) {}

    void GoodsLine(unsigned long index) {
        line_ = std::to_string(index) + ';' + Code() + ';' + Name() + ';' + Number(1, 99999) + ';' +
                Number(1, 99999) + ';' + (Uniform(0, 9) == 0 ? std::string("0") : Number(1, 999999));
        Emit();
    }

    void TerminalLine() {
        static constexpr std::string_view kFractions[] = {"", ".5", ".25", ".125", ".5009", "."};
        line_ = Code() + ',';
        if (Uniform(0, 19) == 0) {
            line_ += "00000";
        } else {
            line_ += Number(0, 99999);
            line_ += kFractions[Uniform(0, 5)];
        }
        Emit();
    }

private:
    unsigned long Uniform(unsigned long low, unsigned long high) {
        return std::uniform_int_distribution<unsigned long>(low, high)(random_);
    }
    std::string Number(unsigned long low, unsigned long high) { return std::to_string(Uniform(low, high)); }
    std::string Code() { return "590" + std::to_string(1000000000 + Uniform(0, 999999999)); }

    // 20 to 60 characters of Polish words; some hold commas.
    std::string Name() {
        const std::size_t length = Uniform(20, 60);
        std::string name;
        while (name.size() < length) {
            if (!name.empty()) name += ' ';
            name += words_[Uniform(0, words_.size() - 1)];
        }
        name.resize(length);
        return name;
    }

    void Emit() {
        line_ += "\r\n";
        std::fwrite(line_.data(), 1, line_.size(), out_);
    }

    std::FILE* out_;
    const std::vector<std::string> words_ = Words();
    std::mt19937_64 random_{20240601};
    std::string line_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (std::string_view(argv[1]) != "goods" && std::string_view(argv[1]) != "terminal")) {
        std::cerr << "usage: iwvestra-benchdata goods|terminal LINES OUTPUT\n";
        return 2;
    }
    const unsigned long lines = std::stoul(argv[2]);
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out) {
        std::cerr << "cannot create " << argv[3] << '\n';
        return 1;
    }
    // Written a mebibyte at a time, as a copy writes. Linux keeps a file in
    // its page cache in pieces of the size it was written in; written in
    // stdio's 4 KiB, a million goods lines cost every reader of them, the
    // durable copy, awk and the conversions alike, about 10 ms more of kernel
    // time.
    std::vector<char> buffer(std::size_t{1} << 20);
    std::setvbuf(out, buffer.data(), _IOFBF, buffer.size());
    Generator generator(out);
    const bool goods = std::string_view(argv[1]) == "goods";
    for (unsigned long i = 1; i <= lines; ++i) goods ? generator.GoodsLine(i) : generator.TerminalLine();
    return std::fclose(out) == 0 ? 0 : 1;
}
