#include <gtest/gtest.h>

#include "driver/WorkDirectory.h"

namespace iwv {
namespace {

struct WorkDirectoryCase {
    const char* dataPath;
    const char* workDirectory;
    const char* lookupFile;
};

constexpr WorkDirectoryCase kCases[] = {
    {"C:\\App\\Data\\goods.txt", "C:\\App", "C:\\App\\inwout.txt"},
    {"C:\\App\\Data\\", "C:\\App", "C:\\App\\inwout.txt"},
    {"D:\\a\\b\\c\\d.txt", "D:\\a\\b", "D:\\a\\b\\inwout.txt"},
    {"\\\\server\\share\\data\\goods.txt", "\\\\server\\share", "\\\\server\\share\\inwout.txt"},
    {"C:\\goods.txt", "", "\\inwout.txt"},
    {"goods.txt", "", "\\inwout.txt"},
    {"C:/App/Data/goods.txt", "", "\\inwout.txt"},
    {"", "", "\\inwout.txt"},
    {"\\\\", "", "\\inwout.txt"},
    {"C:\\App\\Data\\\\goods.txt", "C:\\App\\Data", "C:\\App\\Data\\inwout.txt"},
    {"C:\\App/Sub\\Data\\goods.txt", "C:\\App/Sub", "C:\\App/Sub\\inwout.txt"},
    {"C:\\Dane\\Sk\xB3" "ad\\Ma\xB3" "y\\towary.txt", "C:\\Dane\\Sk\xB3" "ad", "C:\\Dane\\Sk\xB3" "ad\\inwout.txt"},
};

TEST(WorkDirectoryTest, DropsTheLastTwoBackslashComponents) {
    for (const WorkDirectoryCase& entry : kCases) {
        SCOPED_TRACE(entry.dataPath);
        const std::string workDirectory = DeriveWorkDirectory(entry.dataPath);
        EXPECT_EQ(workDirectory, entry.workDirectory);
        EXPECT_EQ(WorkFilePath(workDirectory, "inwout.txt"), entry.lookupFile);
    }
}

TEST(WorkDirectoryTest, TerminalDataFileLiesBesideTheLookupFile) {
    EXPECT_EQ(WorkFilePath(DeriveWorkDirectory("C:\\App\\Data\\count.txt"), "inwin.txt"), "C:\\App\\inwin.txt");
    EXPECT_EQ(WorkFilePath("", "inwin.txt"), "\\inwin.txt");
}

}  // namespace
}  // namespace iwv
