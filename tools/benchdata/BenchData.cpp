// iwvestra-benchdata: writes a goods file or a terminal data file of a given
// number of lines, always the same for the same arguments, for measuring the
// conversions on files of a realistic size and shape; or, for holding the
// bench's reference loop to the tool's rules, a file of both kinds' pieces
// in any order, line ends of every kind, NULs and fields longer than a block.

#include <cstdio>
#include <iostream>
#include <iterator>
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

    // Pieces of goods and terminal lines run together, numbered by `seed`.
    void Mixed(unsigned long seed) {
        static constexpr std::string_view kPieces[] = {
            "a",  "x", "5",  "0",  "00000", ".",    ";",   ",",     "\r",       "\n",    "\r\n",
            "\n\r", " ", "12", "1.", "-1.5",  "1.2.3", "000", "2.5009", "123456.5", "\xb9\xea", "X;77;S\xf3l;5;0;1000"};
        random_.seed(seed);
        for (unsigned long pieces = Uniform(0, 400); pieces > 0; --pieces) {
            if (Uniform(0, 999) == 0) {
                line_ += '\0';
            } else if (Uniform(0, 59) == 0) {
                // Longer than the 256 KiB blocks both programs read in, or
                // than the 64 KiB the tool keeps of a field.
                const char filler = "7x,"[Uniform(0, 2)];
                line_.append(Uniform(60000, 700000), filler);
            } else {
                line_ += kPieces[Uniform(0, std::size(kPieces) - 1)];
            }
        }
        std::fwrite(line_.data(), 1, line_.size(), out_);
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
    const std::string_view kind = argc == 4 ? argv[1] : "";
    if (kind != "goods" && kind != "terminal" && kind != "mixed") {
        std::cerr << "usage: iwvestra-benchdata goods|terminal LINES OUTPUT\n"
                     "       iwvestra-benchdata mixed SEED OUTPUT\n";
        return 2;
    }
    const unsigned long number = std::stoul(argv[2]);
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
    if (kind == "mixed") generator.Mixed(number);
    for (unsigned long i = 1; kind != "mixed" && i <= number; ++i)
        kind == "goods" ? generator.GoodsLine(i) : generator.TerminalLine();
    return std::fclose(out) == 0 ? 0 : 1;
}
