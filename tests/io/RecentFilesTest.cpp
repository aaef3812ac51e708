#include "io/RecentFiles.h"

#include <QDir>
#include <gtest/gtest.h>

namespace
{

QStringList Paths(std::initializer_list<const char *> names)
{
    QStringList paths;
    for (const char *name : names)
        paths << QStringLiteral("/f/") + QString::fromUtf8(name);
    return paths;
}

TEST(RecentFiles, NewestFirstEachFileOnceTheLastEightKept)
{
    const struct {
        QStringList before;
        QString added;
        QStringList after;
    } cases[] = {
        {{}, QStringLiteral("/f/a.rlb"), Paths({"a.rlb"})},
        {Paths({"a.rlb", "b.rlt"}), QStringLiteral("/f/c.gkb"), Paths({"c.gkb", "a.rlb", "b.rlt"})},
        // Opened again: to the top, not twice.
        {Paths({"a.rlb", "b.rlt", "c.gkb"}), QStringLiteral("/f/c.gkb"), Paths({"c.gkb", "a.rlb", "b.rlt"})},
        // One file however it was reached.
        {Paths({"a.rlb", "b.rlt"}), QStringLiteral("/f/x/../b.rlt"), Paths({"b.rlt", "a.rlb"})},
        // The ninth pushes the oldest out.
        {Paths({"1", "2", "3", "4", "5", "6", "7", "8"}), QStringLiteral("/f/9"),
         Paths({"9", "1", "2", "3", "4", "5", "6", "7"})},
        // An empty entry of a hand-edited settings file is dropped.
        {QStringList{QString(), QStringLiteral("/f/a.rlb")}, QStringLiteral("/f/b.rlt"),
         Paths({"b.rlt", "a.rlb"})},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RecentFiles::With(c.before, c.added), c.after) << c.added.toStdString();
    EXPECT_EQ(RecentFiles::Without(Paths({"a.rlb", "b.rlt"}), QStringLiteral("/f/a.rlb")), Paths({"b.rlt"}));
    // A name without its folder is the current folder's.
    EXPECT_EQ(RecentFiles::With({}, QStringLiteral("a.rlb")), QStringList{QDir::current().filePath("a.rlb")});
}

} // namespace
