#include "protocol/SettingLists.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

TEST(SettingLists, ResolvesNamesAndNumbers) {
    struct Case {
        const SettingList& list;
        const char* value;
        std::optional<std::size_t> n;
    } cases[] = {
        {Lists::kCodePage, "11", 11},       {Lists::kCodePage, "cp874", 47},
        {Lists::kCodePage, "CP437", 0},     {Lists::kCodePage, "48", std::nullopt},
        {Lists::kPaperWidth, "72", 0},      {Lists::kPaperWidth, "2", 2},
        {Lists::kDataBits, "7", 0},         {Lists::kBaudRate, "115200", 7},
        {Lists::kParity, "even", 2},        {Lists::kSpeed, "highest", 3},
        {Lists::kDensity, "5", 5},          {Lists::kMarkSensitivity, "loud", std::nullopt},
        {Lists::kCutter, "", std::nullopt}, {Lists::kFlowControl, "xon-xoff", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResolveItem(c.list, c.value), c.n) << c.list.name << " " << c.value;
    }
}

} // namespace
} // namespace tervan
