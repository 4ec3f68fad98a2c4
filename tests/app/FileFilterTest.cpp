#include "app/window/Prompter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The model lists a folder in the background and may announce other folders (the parents) first: the
// listing of `folder` is complete once the model has announced that folder itself.
bool WaitUntilListed(QSignalSpy &loaded, const QString &folder)
{
    const QString wanted = QFileInfo(folder).canonicalFilePath();
    QDeadlineTimer deadline(10000);
    for (qsizetype seen = 0; !deadline.hasExpired();) {
        for (; seen < loaded.size(); ++seen) {
            if (QFileInfo(loaded.at(seen).value(0).toString()).canonicalFilePath() == wanted) {
                // Rows arrive before the announcement; let any queued sorting finish too.
                QCoreApplication::processEvents();
                return true;
            }
        }
        loaded.wait(100);
    }
    return false;
}

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
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    dialog.setDirectory(dir.path());
    ASSERT_TRUE(WaitUntilListed(loaded, dir.path())) << "the dialog never finished listing the folder";
    const QModelIndex root = model->index(dir.path());
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
