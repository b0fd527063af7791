#include <gtest/gtest.h>

#include "cp1252.h"

TEST(Cp1252, DegreeIsOneByteAndRoundTrips)
{
    const QString s = QStringLiteral("45°30'12\" N é € Œ");
    const QByteArray b = zk::toCp1252(s);
    EXPECT_EQ(b.count('\xB0'), 1);
    EXPECT_EQ(b.size(), s.size());
    EXPECT_EQ(zk::fromCp1252(b), s);
    EXPECT_EQ(zk::toCp1252(QStringLiteral("€")), QByteArray("\x80"));
}

TEST(Cp1252, EveryByteDecodesAndUnknownEncodesAsQuestionMark)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i) all.append(char(i));
    const QString s = zk::fromCp1252(all);
    ASSERT_EQ(s.size(), 256);
    EXPECT_EQ(zk::toCp1252(s), all);
    EXPECT_EQ(zk::toCp1252(QStringLiteral("日本")), QByteArray("??"));
}
