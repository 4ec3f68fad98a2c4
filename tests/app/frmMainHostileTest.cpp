// The main window against files and settings it cannot take as they are: each gives a message that names
// the file and the reason, the editor goes on, and nothing claims a save that did not happen.
#include "AppFakes.h"
#include "app/pane/TextPane.h"
#include "app/window/WindowPlacement.h"
#include "app/window/frmMain.h"
#include "tests/support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::ChildFailure;
using testsupport::ChildLimits;
using testsupport::RunInChild;

const QByteArray ProgramBytes("%\r\nO1000(\x83\x65\x83\x58\x83\x67)\r\nG00 X1.\r\nM30\r\n%\r\n");
const QString ProgramText = QStringLiteral("%\r\nO1000(テスト)\r\nG00 X1.\r\nM30\r\n%\r\n");

class frmMainHostileTest : public ::testing::Test
{
protected:
    // Open to everyone, so that a child running as an ordinary user can work in it.
    void SetUp() override { ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::Permissions(0x7777))); }

    void Start()
    {
        m_window = std::make_unique<frmMain>(MainWindowServices{
            m_prompter, m_locks, PathOf(QStringLiteral("settings.ini")), PathOf(QStringLiteral("app"))});
        m_window->Form_Load({});
    }

    QString PathOf(const QString &name) const { return m_dir.filePath(name); }

    QString Put(const QString &name, const QByteArray &bytes, qint64 sparseSize = 0) const
    {
        QFile file(PathOf(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        if (sparseSize > 0)
            file.resize(sparseSize);
        return PathOf(name);
    }

    static QByteArray BytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void Open(const QString &path)
    {
        m_prompter.openChoices = {{path, m_dir.path()}};
        m_window->mnuFileOpen_Click();
    }

    QTemporaryDir m_dir;
    FakePrompter m_prompter;
    FakeKeyboardLocks m_locks;
    std::unique_ptr<frmMain> m_window;
};

TEST_F(frmMainHostileTest, FilesThePaneCannotTakeAreRefusedAndTheDocumentStays)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        qint64 sparseSize;
        QString reason;
    };
    const Case cases[] = {
        {"huge.nc", "G01\r\n", 200 * 1024 * 1024,
         QStringLiteral("ファイルが大きすぎます (209715200 バイト)")},
        {"oneline.nc", QByteArray("G01 X1. Z-2. F0.2\n").repeated(50 * 1024 * 1024 / 18), 0,
         QStringLiteral("1 行目の長さが 52428798 文字あります。")},
    };
    Start();
    const QString kept = Put(QStringLiteral("kept.nc"), ProgramBytes);
    Open(kept);
    m_window->RichTextBox1->SetSelText(QStringLiteral("(edited)"));
    const QString text = m_window->RichTextBox1->Text();
    for (const Case &c : cases) {
        const QString path = Put(QLatin1String(c.name), c.bytes, c.sparseSize);
        m_prompter.messages.clear();
        Open(path);
        ASSERT_EQ(m_prompter.messages.size(), 1u) << c.name;
        const QString message = m_prompter.messages[0].text;
        EXPECT_EQ(m_prompter.messages[0].icon, Prompter::Icon::Critical) << c.name;
        EXPECT_TRUE(message.startsWith(
            QStringLiteral("ファイル \"%1\" を開けませんでした。\n%2").arg(path, c.reason)))
            << message.toStdString();
        EXPECT_EQ(m_window->RichTextBox1->Text(), text) << c.name;
        EXPECT_EQ(m_window->DocumentPath(), kept) << c.name;
        EXPECT_EQ(m_window->Label1->text(), QStringLiteral("kept.nc")) << c.name;
        EXPECT_TRUE(m_window->DocumentModified()) << c.name;
    }
}

TEST_F(frmMainHostileTest, OddFilesOpenWithAWarningAndKeepTheirBytes)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        QString warning;
        bool savedAsRead; // rich text is always saved as plain text
    };
    const Case cases[] = {
        {"nul.nc", QByteArray("G01\0X1.\r\n\0M30", 13), QStringLiteral("NUL バイト (0x00) があります。"),
         true},
        {"sjis.nc", QByteArray("G01(\x81\x7F\xEF\x40\xFF)\r\n"),
         QStringLiteral("Shift-JIS (コード ページ 932) の文字でないバイトがあります。"), true},
        {"braces.rtf", QByteArray("{\\rtf1 {\\b G01}\\par X1."),
         QStringLiteral("リッチ テキストが壊れています"), false},
        {"deep.rtf", "{\\rtf1 " + QByteArray(1000000, '{') + "G01",
         QStringLiteral("リッチ テキストが壊れています"), false},
    };
    Start();
    for (const Case &c : cases) {
        const QString path = Put(QLatin1String(c.name), c.bytes);
        m_prompter.messages.clear();
        Open(path);
        ASSERT_EQ(m_prompter.messages.size(), 1u) << c.name;
        EXPECT_EQ(m_prompter.messages[0].icon, Prompter::Icon::Warning) << c.name;
        EXPECT_TRUE(
            m_prompter.messages[0].text.startsWith(QStringLiteral("ファイル \"%1\" について:\n").arg(path)))
            << c.name;
        EXPECT_TRUE(m_prompter.messages[0].text.contains(c.warning)) << c.name;
        EXPECT_EQ(m_window->DocumentPath(), path) << c.name;
        EXPECT_FALSE(m_window->DocumentModified()) << c.name;
        EXPECT_FALSE(m_window->RichTextBox1->Text().isEmpty()) << c.name;
        m_window->mnuFileSave_Click();
        EXPECT_EQ(m_prompter.messages.size(), 1u) << c.name;
        if (c.savedAsRead) {
            EXPECT_EQ(BytesOf(path), c.bytes) << c.name;
        }
    }
}

// Root writes whatever the permissions say, so the saves that permissions forbid run as an ordinary user;
// a full disk is a file size limit. Each runs in a child process with the window as the parent left it.
TEST_F(frmMainHostileTest, ASaveThatCannotBeWrittenClaimsNothing)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("app"));
    struct Case
    {
        const char *what;
        QString name;
        ChildLimits limits;
        QString reason;
    };
    const Case cases[] = {
        {"a read-only document",
         QStringLiteral("readonly.nc"),
         {true, -1},
         QStringLiteral("ファイルが読み取り専用か、書き込む権限がありません。")},
        {"a full disk",
         QStringLiteral("full.nc"),
         {false, 4096},
         QStringLiteral("書き込めるファイルの大きさの上限 (4096 バイト) を超えます。")},
        {"the program folder",
         QStringLiteral("app/prog.nc"),
         {true, -1},
         QStringLiteral("フォルダーに書き込む権限がありません。")},
    };
    const QString bigText = ProgramText + QStringLiteral("G01 X1. Z-2. F0.2\r\n").repeated(1000);
    for (const Case &c : cases) {
        const QString path = Put(c.name, ProgramBytes);
        QFile::setPermissions(path,
                              QFile::Permissions(c.name == QStringLiteral("readonly.nc") ? 0x4444 : 0x6666));
        QFile::setPermissions(PathOf(QStringLiteral("app")), QFile::Permissions(0x5555));
        Start();
        Open(path);
        m_window->RichTextBox1->SetText(bigText);
        m_prompter.messages.clear();
        const std::optional<bool> passed = RunInChild(c.limits, [&] {
            m_window->mnuFileSave_Click();
            if (m_prompter.messages.size() != 1)
                return ChildFailure("one message");
            const QString expected =
                QStringLiteral("ファイル \"%1\" に保存できませんでした。\n%2").arg(path, c.reason);
            if (m_prompter.messages[0].text != expected ||
                m_prompter.messages[0].icon != Prompter::Icon::Critical)
                return ChildFailure(qPrintable(m_prompter.messages[0].text));
            if (!m_window->DocumentModified() || m_window->DocumentPath() != path)
                return ChildFailure("the document is still modified and keeps its path");
            // Save As to the same place fails the same way and keeps the name.
            m_prompter.saveChoices = {{path, m_dir.path()}};
            m_window->mnuFileSaveAs_Click();
            if (m_prompter.messages.size() != 2 || m_window->DocumentPath() != path ||
                m_window->Label1->text() != QFileInfo(path).fileName())
                return ChildFailure("a failed Save As keeps the document's name");
            return m_window->RichTextBox1->Text() == bigText || ChildFailure("the text is kept");
        });
        QFile::setPermissions(PathOf(QStringLiteral("app")), QFile::Permissions(0x7777));
        ASSERT_TRUE(passed.has_value()) << c.what << ": could not set the child up";
        EXPECT_TRUE(*passed) << c.what;
        EXPECT_EQ(BytesOf(path), ProgramBytes) << c.what;
    }
    EXPECT_EQ(QDir(PathOf(QStringLiteral("app"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("prog.nc")});
}

TEST_F(frmMainHostileTest, GarbageSettingsStillGiveAUsableWindowOnTheScreen)
{
    const char *const cases[][4] = {
        {"left", "top", "width", "height"},
        {"1e30", "-1e30", "1e30", "1e30"},
        {"-99999999", "99999999", "-5000", "-1"},
        {"0", "0", "1", "1"},
        {"1e999", "nan", "inf", "-inf"},
        {"\"1, 2\"", "@Invalid()", "0x10", "12000twips"},
        {"1000", "1000", "340282346638528859811704183484516925440", "1e-40"},
        {"binary", "", "", ""},
    };
    const char *const keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto &values : cases) {
        QFile settings(PathOf(QStringLiteral("settings.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (QByteArray(values[0]) == "binary") {
            // Not a settings file at all.
            for (int i = 0; i < 4096; ++i)
                settings.putChar(char((i * 7919) % 256));
        } else {
            settings.write("[Settings]\n");
            for (int i = 0; i < 4; ++i)
                settings.write(QByteArray(keys[i]) + '=' + values[i] + '\n');
        }
        settings.close();
        const std::string what =
            QStringList{values[0], values[1], values[2], values[3]}.join(u' ').toStdString();

        Start();
        m_window->show();
        const QRect outer = m_window->frameGeometry();
        EXPECT_GE(outer.width(), placement::MinimumWidth) << what;
        EXPECT_GE(outer.height(), placement::MinimumHeight) << what;
        EXPECT_LE(outer.width(), std::max(screen.width(), 800)) << what;
        const QRect titleBar = QRect(outer.topLeft(), QSize(outer.width(), 30)).intersected(screen);
        EXPECT_GE(titleBar.width(), 100) << what;
        EXPECT_EQ(titleBar.height(), 30) << what;
        EXPECT_GT(m_window->RichTextBox1->width(), 0) << what;
        EXPECT_GT(m_window->RichTextBox1->height(), 0) << what;
        // Closing stores numbers again.
        EXPECT_TRUE(m_window->close());
        QSettings stored(PathOf(QStringLiteral("settings.ini")), QSettings::IniFormat);
        for (const char *key : keys) {
            bool isNumber = false;
            stored.value(QStringLiteral("Settings/") + QLatin1String(key)).toString().toDouble(&isNumber);
            EXPECT_TRUE(isNumber) << what << " " << key;
        }
    }
}

} // namespace
