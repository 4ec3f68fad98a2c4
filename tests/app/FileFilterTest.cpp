#include "app/Prompter.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString OpenFilter =
    QStringLiteral("NC File (*.MIN;*.SSB;*.NC;*.NCD;*.NCA)|*.MIN;*.SSB;*.NC;*.NCD;*.NCA|All Files (*.*)|*.*");

TEST(FileFilter, TurnsPairsIntoQtFilters)
{
    EXPECT_EQ(QtNameFilters(OpenFilter),
              QStringLiteral("NC File (*.MIN;*.SSB;*.NC;*.NCD;*.NCA) "
                             "(*.MIN *.SSB *.NC *.NCD *.NCA);;All Files (*.*) (*)"));
    EXPECT_EQ(QtNameFilters(QStringLiteral("System Sub (*.ssb)|*.SSB")),
              QStringLiteral("System Sub (*.ssb) (*.SSB)"));
}

// The dialog lists files whatever the case of their extension, and shows the descriptions as written.
TEST(FileFilter, DialogMatchesExtensionsIgnoringCase)
{
    QTemporaryDir dir;
    const QStringList names = {QStringLiteral("prog.min"), QStringLiteral("B.Nc"), QStringLiteral("c.NCA"),
                               QStringLiteral("notes.txt"), QStringLiteral("README")};
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFileDialog dialog(nullptr, QString(), dir.path());
    ConfigureFileDialog(dialog, QtNameFilters(OpenFilter));
    auto *model = dialog.findChild<QFileSystemModel *>();
    ASSERT_NE(model, nullptr);
    dialog.setDirectory(dir.path());
    const QModelIndex root = model->index(dir.path());
    // The folder is read in a thread of the model's: wait until its files are listed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(root) == 3; }, 10000));
    QStringList listed;
    for (int row = 0; row < model->rowCount(root); ++row)
        listed += model->index(row, 0, root).data().toString();
    listed.sort();
    EXPECT_EQ(listed,
              (QStringList{QStringLiteral("B.Nc"), QStringLiteral("c.NCA"), QStringLiteral("prog.min")}));

    auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), QStringLiteral("NC File (*.MIN;*.SSB;*.NC;*.NCD;*.NCA)"));
    EXPECT_EQ(types->itemText(1), QStringLiteral("All Files (*.*)"));
}

} // namespace
