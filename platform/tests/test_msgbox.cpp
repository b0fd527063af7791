#include <gtest/gtest.h>

#include "msgbox.h"

TEST(MsgBox, ScriptAnswersAndRecords)
{
    zk::MsgScript script;
    script.answer(zk::idNo);
    EXPECT_EQ(zk::msgbox(QStringLiteral("Enregistrer x?"), zk::mbYesNoCancel | zk::mbQuestion), zk::idNo);
    // A dry script answers the default button.
    EXPECT_EQ(zk::msgbox(QStringLiteral("a"), zk::mbYesNo | zk::mbDefaultButton2), zk::idNo);
    EXPECT_EQ(zk::msgbox(QStringLiteral("b"), zk::mbAbortRetryIgnore), zk::idAbort);
    EXPECT_EQ(zk::msgbox(QStringLiteral("c")), zk::idOK);
    ASSERT_EQ(script.shown().size(), 4);
    EXPECT_EQ(script.shown()[0].caption, QStringLiteral("Kestrova"));
    EXPECT_EQ(script.shown()[0].flags, zk::mbYesNoCancel | zk::mbQuestion);
    EXPECT_EQ(script.texts().last(), QStringLiteral("c"));
}

TEST(MsgBox, NestedScriptsRestore)
{
    zk::MsgScript outer;
    {
        zk::MsgScript inner;
        zk::msgbox(QStringLiteral("inner"));
        EXPECT_EQ(inner.shown().size(), 1);
    }
    zk::msgbox(QStringLiteral("outer"));
    ASSERT_EQ(outer.shown().size(), 1);
    EXPECT_EQ(outer.shown()[0].text, QStringLiteral("outer"));
}
