#include "shell/Switches.h"

#include <gtest/gtest.h>

using namespace lot;

TEST(SwitchesTest, NameWithAnyPrefixInAnyCase) {
    struct Case {
        QStringList args;
        QString name;
        bool expected;
    };
    const Case cases[] = {
        {{"loadonly"}, SwitchLoadOnly, true},
        {{"-LoadOnly"}, SwitchLoadOnly, true},
        {{"--LOADONLY"}, SwitchLoadOnly, true},
        {{"/loadonly"}, SwitchLoadOnly, true},
        {{"\\loadonly"}, SwitchLoadOnly, true},
        {{"--data", "/tmp", "-restart"}, SwitchRestart, true},
        {{"--No-Language"}, SwitchNoLanguage, true},
        {{"---loadonly"}, SwitchLoadOnly, false},
        {{"loadonly2"}, SwitchLoadOnly, false},
        {{"-load only"}, SwitchLoadOnly, false},
        {{"+loadonly"}, SwitchLoadOnly, false},
        {{"fullrefresh"}, SwitchFullRecreate, false},
        {{}, SwitchFullRefresh, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HasSwitch(c.args, c.name), c.expected)
            << c.args.join(' ').toStdString() << " / " << c.name.toStdString();
}

TEST(SwitchesTest, TheFiveNames) {
    EXPECT_EQ(SwitchRestart, "restart");
    EXPECT_EQ(SwitchLoadOnly, "loadonly");
    EXPECT_EQ(SwitchFullRecreate, "fullrecreate");
    EXPECT_EQ(SwitchFullRefresh, "fullrefresh");
    EXPECT_EQ(SwitchNoLanguage, "no-language");
}
