#include "plugin/LibraryProperties.h"

#include "IWVestra.h"
#include "common/Cp1250.h"
#include "plugin/HostText.h"

namespace iwv {
namespace {

// Both operator prompts open with the same instructions for the dock and
// differ only in the terminal menu entry they name, so they are built from one
// text.
template <std::size_t A, std::size_t B>
constexpr Cp1250Text<A + B> Join(const Cp1250Text<A>& head, const Cp1250Text<B>& tail) {
    Cp1250Text<A + B> joined;
    for (std::size_t i = 0; i < head.size; ++i) joined.bytes[joined.size++] = head.bytes[i];
    for (std::size_t i = 0; i < tail.size; ++i) joined.bytes[joined.size++] = tail.bytes[i];
    return joined;
}

constexpr auto kDockInstructions = Cp1250(
    "Włącz zasilanie doku, sprawdź połączenie RS232 z komputerem,\n"
    "następnie umieść inwentaryzator w doku i załącz go.\n"
    "\n");
constexpr auto kImportPrompt = Join(kDockInstructions, Cp1250("Wybierz z menu 2.TRANSMISJA -> DATA FILE."));
constexpr auto kExportPrompt = Join(kDockInstructions, Cp1250("Wybierz z menu 3.NARZĘDZIA -> 8.ŁADUJ BAZĘ."));

struct Property {
    std::int32_t code;
    std::string_view text;
};

constexpr Property kProperties[] = {
    {IWV_PROPERTY_DEVICE_LABEL, "Vestrak-L CipherLab"},
    {IWV_PROPERTY_LIBRARY_NAME, "IW_Vestra"},
    {301, "1"},
    {IWV_PROPERTY_IMPORT_PROMPT, kImportPrompt.view()},
    {IWV_PROPERTY_EXPORT_PROMPT, kExportPrompt.view()},
    {304, ""},
    {305, "0"},
    {306, "0"},
    {307, "0"},
    {308, "0"},
};

// The empty text for a code the library does not know.
std::string_view PropertyText(std::int32_t code) {
    for (const auto& property : kProperties)
        if (property.code == code) return property.text;
    return {};
}

}  // namespace

char* CopyProperty(char* buffer, std::int32_t code) {
    CopyToHost(PropertyText(code), buffer);
    return buffer;
}

}  // namespace iwv
