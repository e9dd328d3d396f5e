#include "Conversions.h"

#include "export/LookupConverter.h"
#include "import/CountConverter.h"

namespace iwv::test {

const Conversion& LookupConversion() {
    static const Conversion conversion{
        "Lookup", "inwout.txt",
        "X;590001;M\xB9ka pszenna, typ 450;189;249;12500\r\nX;590002;S\xF3l;95;129;3000\r\n",
        "M\xB9ka pszenna. typ 45,590001,12.500,0,2.49\r\nS\xF3l,590002,3.000,0,1.29\r\n",
        [](const std::string& input, const std::string& output) {
            LookupConverter{20, 0}.Convert(platform::SystemFileSystem(), input, output);
        }};
    return conversion;
}

const Conversion& CountConversion() {
    static const Conversion conversion{
        "Count", "remanent.txt", "590001,12.5\r\n590002,00000\r\n590003,3\r\n",
        "INW;590001;12500\r\nINW;590003;3000\r\n",
        [](const std::string& input, const std::string& output) {
            CountConverter::Convert(platform::SystemFileSystem(), input, output);
        }};
    return conversion;
}

}  // namespace iwv::test
