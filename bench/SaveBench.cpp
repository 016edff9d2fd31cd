// "save": writing a loaded document, after a one-character edit, as plain
// text and as RTF, against writing the same bytes with one write(), and
// with what any save that cannot lose the file needs at least: write() to a
// new file, fsync() and rename() over the old one.
#include "DocumentFixture.h"
#include "OpenCommand.h"
#include "Operations.h"
#include "Targets.h"
#include "Timing.h"

#include "document/RichTextBox.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace bench {

namespace {


ChildBody writeBytes(const BenchInput& input, bool durable)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, durable](ChildReport& report) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return report.fail(file.errorString().toStdString());
        const QByteArray bytes = file.readAll();
        QTemporaryDir folder;
        const QByteArray target = QFile::encodeName(folder.filePath("copy.txt"));
        report.limit(limit, "save");
        Stopwatch watch;
        const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        bool written = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        if (durable)
            written = written && ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        if (durable)
            written = written && ::rename(target.constData(), (target + ".moved").constData()) == 0;
        if (!written)
            return report.fail("write failed");
        report.set("save", watch.elapsedMs());
    };
}

}  // namespace

ChildBody editorSave(const BenchInput& input, int type)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, type](ChildReport& report) {
        storeWordWrap(false);
        OpenedDocument document;
        if (!document.load(path))
            return report.fail("set-up: LoadFile failed");
        document.finishOpen(path);
        QTextDocument* text = document.text()->document();
        QTextCursor(text->findBlockByNumber(text->blockCount() / 2)).insertText(QStringLiteral("x"));
        QTemporaryDir folder;
        const QString target = folder.filePath(type == RichTextBox::rtfRTF ? "copy.rtf" : "copy.txt");
        report.limit(limit, "save");
        FreezeWatch freeze;
        freeze.start();
        Stopwatch watch;
        if (!document.text()->SaveFile(target, type))
            return report.fail("SaveFile: " + document.text()->errorString().toStdString());
        report.set("save", watch.elapsedMs());
        freeze.stop();
        report.set("freeze", freeze.longestGapMs());
        report.note("bytes", std::to_string(QFile(target).size()));
    };
}

std::vector<Row> measureSave(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const Figure raw =
        figureOf(runSeries("save baseline write()", writeBytes(input, false), input.runs, setup), "save", "save");
    const Figure durable = figureOf(
        runSeries("save baseline write() fsync() rename()", writeBytes(input, true), input.runs, setup), "save", "save");
    const auto plainRuns = runSeries("save as plain text", editorSave(input, RichTextBox::rtfText), input.runs, setup);
    const auto rtfRuns = runSeries("save as RTF", editorSave(input, RichTextBox::rtfRTF), input.runs, setup);
    const std::string write = "one write() of the file's bytes";
    const Figure plain = figureOf(plainRuns, "save", "save");
    const std::string plainFreeze = "longest time without painting: " + medianText(plainRuns, "freeze", 0) + " ms";
    return {
        {"save as plain text", plain, write, raw, plainFreeze},
        {"save as plain text", plain, "write(), fsync() and rename() of the same bytes", durable, plainFreeze},
        {"save as RTF", figureOf(rtfRuns, "save", "save"), write, raw,
         "RTF file size: " + firstNote(rtfRuns, "bytes") + " bytes; longest time without painting: "
             + medianText(rtfRuns, "freeze", 0) + " ms"},
    };
}

}  // namespace bench
