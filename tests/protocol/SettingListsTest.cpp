#include "protocol/SettingLists.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

TEST(SettingLists, ItemsCharacterForCharacter) {
    const auto& pages = Lists::kCodePage.items;
    ASSERT_EQ(pages.size(), 48u);
    EXPECT_EQ(pages[0].text, "CP437 [U.S.A., Standard Europe]");
    EXPECT_EQ(pages[7].text, "CP866 Cyrilliec #2 ");                      // trailing blank
    EXPECT_EQ(pages[9].text, "CP755 [East Europe\xEF\xBC\x8CLatvian 2]"); // U+FF0C
    EXPECT_EQ(pages[19].text, "CP858 Multilingual Latin \xE2\x85\xA0");   // U+2160
    EXPECT_EQ(pages[30].text, "WCP1250[Central Eurpoe]");
    EXPECT_EQ(pages[47].text, "Cp874");
    for (int n = 11; n <= 14; ++n) {
        EXPECT_EQ(pages[n].text, "reserve");
    }
    EXPECT_EQ(Lists::kFontThermal.items[1].text, "字符9x17  汉字16x16"); // two blanks
    EXPECT_EQ(Lists::kFontDotMatrix.items[2].text, "西文下5*7点阵 中文不受影响");
    EXPECT_EQ(Lists::kLanguage.items[3].text, "国标繁体中文(GB/T 12345)");
    EXPECT_EQ(Lists::kDensity.items.size(), 31u);
    EXPECT_EQ(Lists::kDensity.items[30].text, "30");
    EXPECT_EQ(Lists::kPort.items.size(), 20u);
    EXPECT_EQ(Lists::kPort.items[19].text, "COM19");
    EXPECT_EQ(Lists::kBitmapSlot.items.size(), 9u);
    EXPECT_EQ(Lists::kCutter.label, "切刀：");
    EXPECT_EQ(kNoChange, "不改变");
}

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
