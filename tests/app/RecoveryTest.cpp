#include "AppFakes.h"
#include "app/pane/TextPane.h"
#include "app/window/MainStatusBar.h"
#include "app/window/StatusPanel.h"
#include "app/window/frmMain.h"
#include "recovery/RecoveryCopy.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A program with Japanese comments, as code page 932 bytes.
const QByteArray Program("%\r\nO1000(\x83\x65\x83\x58\x83\x67)\r\nG00 X1.(\x8a\x4f\x8c\x61)\r\nM30\r\n%\r\n");

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The copy in `folder` whose text ends with `typed`, waited for as the editor writes it.
QString WaitForCopy(const QString &folder, const QString &typed)
{
    QString found;
    (void)QTest::qWaitFor(
        [&] {
            for (const QFileInfo &copy :
                 QDir(folder).entryInfoList({QStringLiteral("*.recovery")}, QDir::Files)) {
                const recovery::ReadCopy read = recovery::DecodeCopy(ReadAll(copy.absoluteFilePath()));
                if (read.status == recovery::ReadStatus::Read && read.contents.text.endsWith(typed))
                    found = copy.absoluteFilePath();
            }
            return !found.isEmpty();
        },
        20000);
    return found;
}

class Editor
{
public:
    explicit Editor(const QStringList &arguments)
    {
        m_process.start(QStringLiteral(RECOVERY_CHILD), arguments);
    }
    ~Editor()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    void Kill()
    {
        m_process.kill(); // SIGKILL: nothing of the editor's own closing runs
        m_process.waitForFinished();
    }
    bool Finished() { return m_process.waitForFinished(30000) && m_process.exitCode() == 0; }

private:
    QProcess m_process;
};

struct Restored
{
    QByteArray bytes;
    QString path;
    int asked = -1;
};

Restored RestoreIn(const QString &folder, const QString &out)
{
    Editor restore({QStringLiteral("restore"), folder, out});
    if (!restore.Finished())
        return {};
    return {ReadAll(out), QString::fromUtf8(ReadAll(out + QStringLiteral(".path"))),
            ReadAll(out + QStringLiteral(".asked")).toInt()};
}

} // namespace

// An editor killed while its program holds unsaved changes: the next editor restores them byte for byte.
TEST(Recovery, AKilledEditorsTextIsRestored)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    const QString program = dir.filePath(QStringLiteral("シャフト.nc"));
    ASSERT_TRUE(WriteAll(program, Program));
    Editor typing({QStringLiteral("type"), folder, program, QStringLiteral("G01 Z-5. F0.2")});
    const QString copy = WaitForCopy(folder, QStringLiteral("G01 Z-5. F0.2"));
    ASSERT_FALSE(copy.isEmpty()) << "no recovery copy was written";
    typing.Kill();

    const Restored restored = RestoreIn(folder, dir.filePath(QStringLiteral("out")));
    EXPECT_EQ(restored.bytes, Program + "G01 Z-5. F0.2");
    EXPECT_EQ(restored.path, program);
    EXPECT_EQ(restored.asked, 1);
    EXPECT_FALSE(QFile::exists(copy)) << "the restored copy was left behind";
}

// Two editors at once: the copy of the one still running is never offered to another.
TEST(Recovery, TwoEditorsNeverTakeEachOthersCopy)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    const QString first = dir.filePath(QStringLiteral("first.nc"));
    const QString second = dir.filePath(QStringLiteral("second.nc"));
    ASSERT_TRUE(WriteAll(first, Program) && WriteAll(second, Program));
    // The running editor's copy is the older one, so that it would be offered first were it ever taken.
    Editor running({QStringLiteral("type"), folder, second, QStringLiteral("X22.")});
    const QString runningCopy = WaitForCopy(folder, QStringLiteral("X22."));
    ASSERT_FALSE(runningCopy.isEmpty());
    Editor killed({QStringLiteral("type"), folder, first, QStringLiteral("X11.")});
    ASSERT_FALSE(WaitForCopy(folder, QStringLiteral("X11.")).isEmpty());
    killed.Kill();

    const Restored restored = RestoreIn(folder, dir.filePath(QStringLiteral("out")));
    EXPECT_EQ(restored.bytes, Program + "X11.");
    EXPECT_EQ(restored.path, first);
    EXPECT_EQ(restored.asked, 1);
    EXPECT_EQ(ReadAll(runningCopy).right(4), "X22.");
}

class RecoveryWindow : public ::testing::Test
{
protected:
    void Start(const QString &recoveryFolder)
    {
        MainWindowServices services{m_prompter, m_locks};
        services.settingsFile = m_dir.filePath(QStringLiteral("settings.ini"));
        services.recoveryFolder = recoveryFolder;
        m_window = std::make_unique<frmMain>(services);
        m_window->Form_Load({});
    }

    void Open(const QString &path)
    {
        m_prompter.openChoices.push_back({path, m_dir.path()});
        m_window->mnuFileOpen_Click();
    }

    void Type(const QString &text)
    {
        m_window->RichTextBox1->moveCursor(QTextCursor::End);
        QTest::keyClicks(m_window->RichTextBox1, text);
    }

    bool WaitForMessages(std::size_t count)
    {
        return QTest::qWaitFor(
            [&] { return m_prompter.messages.size() + m_prompter.questions.size() >= count; }, 5000);
    }

    QTemporaryDir m_dir;
    FakePrompter m_prompter;
    FakeKeyboardLocks m_locks;
    std::unique_ptr<frmMain> m_window;
};

// A file another program changes: reloaded on request while nothing is unsaved, kept with a warning
// while something is, asked about before Save overwrites it, written anew after it was deleted.
TEST_F(RecoveryWindow, AFileChangedOutsideIsNeverSilentlyOverwritten)
{
    const QString folder = m_dir.filePath(QStringLiteral("recovery"));
    const QString path = m_dir.filePath(QStringLiteral("p.nc"));
    ASSERT_TRUE(WriteAll(path, Program));
    Start(folder);
    Open(path);

    m_prompter.answers = {true}; // reload
    ASSERT_TRUE(WriteAll(path, "G00 X2.\r\n"));
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_TRUE(m_prompter.questions.back().text.contains(QStringLiteral("読み込み直しますか")));
    EXPECT_EQ(m_window->RichTextBox1->Text(), QStringLiteral("G00 X2.\r\n"));

    Type(QStringLiteral("M30"));
    ASSERT_FALSE(WaitForCopy(folder, QStringLiteral("M30")).isEmpty());
    ASSERT_TRUE(WriteAll(path, "G00 X3.\r\n"));
    ASSERT_TRUE(WaitForMessages(2));
    EXPECT_EQ(m_prompter.messages.back().icon, Prompter::Icon::Warning);
    EXPECT_EQ(m_window->RichTextBox1->Text(), QStringLiteral("G00 X2.\r\nM30"));

    m_prompter.answers = {false}; // do not overwrite
    m_window->mnuFileSave_Click();
    EXPECT_TRUE(m_prompter.questions.back().text.contains(QStringLiteral("上書きしますか")));
    EXPECT_EQ(ReadAll(path), "G00 X3.\r\n");
    m_prompter.answers = {true};
    m_window->mnuFileSave_Click();
    EXPECT_EQ(ReadAll(path), "G00 X2.\r\nM30");
    EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("*.recovery")}).isEmpty())
        << "a saved text keeps its copy";

    const std::size_t asked = m_prompter.questions.size();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(WaitForMessages(m_prompter.messages.size() + asked + 1));
    EXPECT_TRUE(m_prompter.messages.back().text.contains(QStringLiteral("削除された")));
    Type(QStringLiteral("\r"));
    m_window->mnuFileSave_Click();
    EXPECT_EQ(m_prompter.questions.size(), asked);
    EXPECT_EQ(ReadAll(path), "G00 X2.\r\nM30\r\n");
}

// A copy that cannot be read is named in the status bar and kept, never offered or deleted; a data folder
// that cannot be written is named too, and editing goes on.
TEST_F(RecoveryWindow, ACopyOrFolderThatFailsLosesNothing)
{
    const QString folder = m_dir.filePath(QStringLiteral("recovery"));
    const QString broken = folder + QStringLiteral("/1-2-3.recovery");
    ASSERT_TRUE(QDir().mkpath(folder) && WriteAll(broken, "BRINDLEWICK-RECOVERY 1\npath=/p.nc\n"));
    Start(folder);
    EXPECT_TRUE(m_window->sbStatusBar->Panel(1)->text().contains(QStringLiteral("読めません")));
    EXPECT_TRUE(m_prompter.questions.empty());
    EXPECT_TRUE(QFile::exists(broken));
    m_window.reset();

    const QString file = m_dir.filePath(QStringLiteral("not a folder"));
    ASSERT_TRUE(WriteAll(file, "x"));
    Start(file + QStringLiteral("/recovery"));
    EXPECT_TRUE(
        m_window->sbStatusBar->Panel(1)->text().startsWith(QStringLiteral("回復ファイルを使えません")));
    Type(QStringLiteral("G00"));
    QTest::qWait(2500);
    EXPECT_EQ(m_window->RichTextBox1->Text(), QStringLiteral("G00"));
    EXPECT_TRUE(m_window->RecoveryCopyPath().isEmpty());
}
