#include "MainWindowFixture.h"

#include "app/frmMain.h"
#include "core/Settings.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QString setting(const QString& section, const QString& key) { return GetSetting(AppTitle, section, key); }

void putSetting(const QString& section, const QString& key, const QString& value)
{
    SaveSetting(AppTitle, section, key, value);
}

MainWindowFixture::MainWindowFixture() = default;
MainWindowFixture::~MainWindowFixture() { stop(); }

void MainWindowFixture::start(const QString& commandLine, const std::function<void()>& storeFirst)
{
    stop();
    testenv::clearSettings();
    if (storeFirst)
        storeFirst();
    folder = std::make_unique<QTemporaryDir>(testenv::root() + QStringLiteral("/case-XXXXXX"));
    boxes = std::make_unique<ScriptedMessageBoxes>();
    dialogs = std::make_unique<ScriptedCommonDialogs>();
    restart(commandLine);
}

void MainWindowFixture::startWrapped(bool wrap)
{
    start({}, [wrap] { putSetting(QStringLiteral("WordWrap"), QStringLiteral("Wrap"), wrap ? "True" : "False"); });
}

void MainWindowFixture::restart(const QString& commandLine)
{
    main.reset();
    main = std::make_unique<frmMain>();
    main->MDIForm_Load(commandLine);
    main->show();
    QApplication::setActiveWindow(main.get());
    QApplication::processEvents();
}

void MainWindowFixture::stop()
{
    main.reset();
    dialogs.reset();
    boxes.reset();
    folder.reset();
}

QString MainWindowFixture::path(const QString& name) const { return folder->path() + u'/' + name; }

QString MainWindowFixture::file(const QString& name, const QByteArray& bytes) const
{
    writeBytes(path(name), bytes);
    return path(name);
}

frmDocument* MainWindowFixture::active() const { return main->ActiveDocument(); }
RichTextBox* MainWindowFixture::text() const { return active()->txtText; }
int MainWindowFixture::documentCount() const { return int(main->Documents().size()); }

void MainWindowFixture::show(const QString& content, int selStart, int selLength)
{
    text()->setText(content);
    text()->SetSel(selStart, selStart + selLength);
    text()->EmptyUndoBuffer();
    active()->setLabel1(QString());
}

void MainWindowFixture::type(const QString& keys)
{
    for (QChar key : keys) {
        if (key.unicode() < 128) {
            QTest::keyClicks(text(), QString(key));
        } else {
            QTest::sendKeyEvent(QTest::Press, text(), Qt::Key_unknown, QString(key), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, text(), Qt::Key_unknown, QString(key), Qt::NoModifier);
        }
    }
}

QStringList MainWindowFixture::prompts() const
{
    QStringList texts;
    for (const ShownMessage& message : boxes->shown)
        texts << message.prompt;
    return texts;
}

QString MainWindowFixture::lastPrompt() const { return boxes->shown.isEmpty() ? QString() : boxes->shown.last().prompt; }

}  // namespace testsupport
