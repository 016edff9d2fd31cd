// The Search commands on a loaded document (stored word wrap off), each
// against a baseline measured in the same run:
//   "find":            F3 for a string near the end, against QString::indexOf
//                      and grep -c on the file;
//   "replace-all":     Replace All of a word with a million matches, against
//                      QString::replace on the same text;
//   "word-count":      Word Count, against wc -w;
//   "character-count": Character Count, against wc -m;
//   "go-to-line":      Go To Line to the last line, against moving a
//                      QPlainTextEdit's cursor to its last block.
#include "DocumentFixture.h"
#include "InputFiles.h"
#include "OpenCommand.h"
#include "Operations.h"
#include "Timing.h"

#include "app/frmMain.h"
#include "core/MessageBox.h"
#include "document/RichTextBox.h"
#include "document/TextFileCodec.h"
#include "document/frmDocument.h"
#include "search/SearchState.h"
#include "search/frmFind.h"
#include "search/frmGotoLine.h"
#include "search/frmReplace.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

#include <cstdio>

namespace bench {

namespace {

constexpr int ReplaceMatches = 1'000'000;
const QString Needle = QStringLiteral("needle");
const QString Pin = QStringLiteral("pin");
constexpr int NeedleLength = 24;

// Message boxes answered at once; the last prompt is kept for the report.
class AnsweredMessages : public MessageBoxHandler {
public:
    AnsweredMessages() { setMessageBoxHandler(this); }
    ~AnsweredMessages() override { setMessageBoxHandler(nullptr); }
    int show(QWidget*, const QString& prompt, int, const QString&) override
    {
        last = prompt;
        ++count;
        return vb::vbOK;
    }
    QString last;
    int count = 0;
};

QString decodedFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? decodeTextFile(file.readAll()).text : QString();
}

// The last characters of the file's last line: a made-up word ends most
// lines, so the string occurs nowhere else.
QString needleNearTheEnd(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < InputLineLength + 1)
        return QString();
    file.seek(file.size() - (InputLineLength + 1));
    return QString::fromLatin1(file.read(InputLineLength)).right(NeedleLength);
}

// Lines like the standard input's, each starting with as many "needle " as
// spread a million of them evenly over the file.
QString writeNeedleFile(const QString& folder, int sizeMB)
{
    const QString path = folder + QStringLiteral("/needles.txt");
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return QString();
    const std::uint64_t lines = std::uint64_t(sizeMB) * BytesPerMB / (InputLineLength + 1);
    std::uint64_t state = 0x6e6565646c65ull;
    std::string chunk;
    for (std::uint64_t i = 0; i < lines; ++i) {
        const std::uint64_t count = (i + 1) * ReplaceMatches / lines - i * ReplaceMatches / lines;
        std::string line;
        for (std::uint64_t k = 0; k < count && line.size() + 7 <= size_t(InputLineLength); ++k)
            line += "needle ";
        line += nextInputLine(state).substr(0, InputLineLength - line.size());
        chunk += line + '\n';
        if (chunk.size() >= (1u << 20)) {
            std::fwrite(chunk.data(), 1, chunk.size(), file);
            chunk.clear();
        }
    }
    std::fwrite(chunk.data(), 1, chunk.size(), file);
    return std::fclose(file) == 0 ? path : QString();
}

// The control lays a long text out in the background, bit by bit while the
// program is idle; a caret moved far before that has finished waits for the
// layout of everything up to it. Runs the event loop until the layout has
// stopped growing for half a second.
void settleLayout(RichTextBox* text, ChildReport& report, int limit)
{
    report.limit(limit, "settle");
    const QAbstractTextDocumentLayout* layout = text->document()->documentLayout();
    Stopwatch whole;
    Stopwatch still;
    QSizeF size = layout->documentSize();
    while (still.elapsedMs() < 500) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (layout->documentSize() != size) {
            size = layout->documentSize();
            still.restart();
        }
    }
    report.set("settle", whole.elapsedMs() - 500);
}

// The document as the Open command leaves it, in a shown main window; with
// `settled`, once the background layout has finished.
bool openShown(OpenedDocument& document, const QString& path, ChildReport& report, bool settled = false,
               int limit = 0)
{
    if (!document.load(path)) {
        report.fail("set-up: LoadFile failed");
        return false;
    }
    document.finishOpen(path);
    if (!document.showAndPaint()) {
        report.fail("set-up: the text never painted");
        return false;
    }
    if (settled)
        settleLayout(document.text(), report, limit);
    return true;
}

std::string whenText(bool settled) { return settled ? "layout settled" : "right after loading"; }

// Runs a command-line tool on the file; its first output word is the answer.
ChildBody tool(const BenchInput& input, const QString& program, const QStringList& arguments, const std::string& key)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [=](ChildReport& report) {
        const QStringList withFile = QStringList(arguments) << path;
        report.limit(limit, key);
        Stopwatch watch;
        QProcess process;
        process.start(program, withFile);
        if (!process.waitForFinished(limit * 1000) || process.exitStatus() != QProcess::NormalExit)
            return report.fail(program.toStdString() + " did not finish");
        report.set(key, watch.elapsedMs());
        report.note("answer", QString::fromLocal8Bit(process.readAllStandardOutput()).section(u' ', 0, 0,
                                                                                            QString::SectionSkipEmpty)
                                  .trimmed().toStdString());
    };
}

// ---- find ------------------------------------------------------------------

ChildBody editorFind(const BenchInput& input, bool settled)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    const int setup = setupLimitSeconds(input.sizeMB);
    return [path, limit, settled, setup](ChildReport& report) {
        storeWordWrap(false);
        OpenedDocument document;
        if (!openShown(document, path, report, settled, setup))
            return;
        AnsweredMessages messages;
        findDialog(*document.main());
        SearchText = needleNearTheEnd(path);
        SearchOptions = 0;
        RichTextBox* text = document.text();
        report.limit(limit, "find");
        FreezeWatch freeze;
        freeze.start();
        Stopwatch watch;
        document.main()->mnuFind_Click(1);
        report.set("find", watch.elapsedMs());
        freeze.stop();
        report.set("freeze", freeze.longestGapMs());
        const int found = text->SelStart();
        // Again from the start, with the control's text already at hand.
        text->setSelStart(0);
        watch.restart();
        document.main()->mnuFind_Click(1);
        report.set("again", watch.elapsedMs());
        if (messages.count > 0 || text->SelStart() != found)
            return report.fail("not found: " + messages.last.toStdString());
        report.note("found", "at " + std::to_string(found) + " of " + std::to_string(text->TextLength()));
    };
}

ChildBody indexOfFind(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit](ChildReport& report) {
        const QString text = decodedFile(path);
        const QString needle = needleNearTheEnd(path);
        report.limit(limit, "find");
        Stopwatch watch;
        const qsizetype at = text.indexOf(needle, 1, Qt::CaseInsensitive);
        report.set("find", watch.elapsedMs());
        report.note("found", "at " + std::to_string(at) + " of " + std::to_string(text.size()));
    };
}

// ---- replace all -----------------------------------------------------------

ChildBody editorReplaceAll(const BenchInput& input, bool settled)
{
    const int sizeMB = input.sizeMB;
    const int limit = phaseLimitSeconds(input.sizeMB);
    const int setup = setupLimitSeconds(input.sizeMB);
    return [sizeMB, limit, settled, setup](ChildReport& report) {
        QTemporaryDir folder;
        const QString path = writeNeedleFile(folder.path(), sizeMB);
        storeWordWrap(false);
        OpenedDocument document;
        Stopwatch opening;
        if (path.isEmpty() || !openShown(document, path, report))
            return;
        report.set("open", opening.elapsedMs());
        if (settled)
            settleLayout(document.text(), report, setup);
        AnsweredMessages messages;
        frmReplace* dialog = replaceDialog(*document.main());
        dialog->txtFind->setText(Needle);
        dialog->txtReplace->setText(Pin);
        RichTextBox* text = document.text();
        const int before = text->TextLength();
        report.limit(limit, "replace");
        Stopwatch watch;
        dialog->cmdAll_Click();
        report.set("replace", watch.elapsedMs());
        watch.restart();
        text->viewport()->repaint();
        report.set("repaint", watch.elapsedMs());
        if (messages.count > 0)
            return report.fail("message: " + messages.last.toStdString());
        // The edit dropped the control's copy of its text; the next Find builds it again.
        watch.restart();
        text->Text();
        report.set("textAfter", watch.elapsedMs());
        const int replaced = (before - text->TextLength()) / int(Needle.size() - Pin.size());
        report.note("replaced", std::to_string(replaced) + " replaced, caret at " + std::to_string(text->SelStart())
                                    + ", one undo step: " + (text->CanUndo() ? "yes" : "no"));
        report.limit(limit, "undo");
        FreezeWatch undoFreeze;
        undoFreeze.start();
        watch.restart();
        text->Undo();
        report.set("undo", watch.elapsedMs());
        undoFreeze.stop();
        report.set("undoFreeze", undoFreeze.longestGapMs());
        if (text->TextLength() != before || text->Text().count(Needle) != replaced)
            return report.fail("Undo did not restore the text");
    };
}

ChildBody stringReplace(const BenchInput& input)
{
    const int sizeMB = input.sizeMB;
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [sizeMB, limit](ChildReport& report) {
        QTemporaryDir folder;
        const QString path = writeNeedleFile(folder.path(), sizeMB);
        QString text = decodedFile(path);
        const qsizetype matches = text.count(Needle, Qt::CaseInsensitive);
        report.limit(limit, "replace");
        Stopwatch watch;
        text.replace(Needle, Pin, Qt::CaseInsensitive);
        report.set("replace", watch.elapsedMs());
        report.note("matches", std::to_string(matches));
    };
}

// The replaced text built in one pass, as a lower bound.
ChildBody appendReplace(const BenchInput& input)
{
    const int sizeMB = input.sizeMB;
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [sizeMB, limit](ChildReport& report) {
        QTemporaryDir folder;
        const QString text = decodedFile(writeNeedleFile(folder.path(), sizeMB));
        report.limit(limit, "replace");
        Stopwatch watch;
        QString replaced;
        replaced.reserve(text.size());
        qsizetype from = 0;
        for (qsizetype at; (at = text.indexOf(Needle, from, Qt::CaseInsensitive)) >= 0; from = at + Needle.size())
            replaced.append(QStringView(text).mid(from, at - from)).append(Pin);
        replaced.append(QStringView(text).mid(from));
        report.set("replace", watch.elapsedMs());
        report.note("length", std::to_string(replaced.size()));
    };
}

// ---- counts and Go To Line -------------------------------------------------

// One Search menu command on the opened document; its message is the answer.
ChildBody editorCommand(const BenchInput& input, int index, const std::string& key)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, index, key](ChildReport& report) {
        storeWordWrap(false);
        OpenedDocument document;
        if (!openShown(document, path, report))
            return;
        AnsweredMessages messages;
        report.limit(limit, key);
        Stopwatch watch;
        document.main()->mnuFind_Click(index);
        report.set(key, watch.elapsedMs());
        report.note("answer", messages.last.toStdString());
        // Once more, with the control's copy of its text already made.
        watch.restart();
        document.main()->mnuFind_Click(index);
        report.set("again", watch.elapsedMs());
    };
}

ChildBody editorGoToLastLine(const BenchInput& input, bool settled)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    const int setup = setupLimitSeconds(input.sizeMB);
    return [path, limit, settled, setup](ChildReport& report) {
        storeWordWrap(false);
        OpenedDocument document;
        if (!openShown(document, path, report, settled, setup))
            return;
        RichTextBox* text = document.text();
        const int lastLine = text->LineCount();
        frmGotoLine dialog(document.main());
        dialog.Text1->setText(QString::number(lastLine));
        report.limit(limit, "goto");
        Stopwatch watch;
        dialog.cmdOK_Click();
        text->viewport()->repaint();
        report.set("goto", watch.elapsedMs());
        if (text->SelStart() != text->LineIndex(lastLine - 1))
            return report.fail("caret at " + std::to_string(text->SelStart()));
        report.note("answer", document.statusText().toStdString());
    };
}

ChildBody plainGoToLastLine(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit](ChildReport& report) {
        PlainTextReference reference;
        if (!reference.load(path) || !reference.showAndPaint())
            return report.fail("set-up failed");
        QPlainTextEdit* edit = reference.edit();
        report.limit(limit, "goto");
        Stopwatch watch;
        const QTextBlock last = edit->document()->lastBlock();
        edit->setTextCursor(QTextCursor(last));
        edit->ensureCursorVisible();
        edit->viewport()->repaint();
        report.set("goto", watch.elapsedMs());
    };
}

std::string answersOf(const std::vector<ChildResult>& editor, const std::vector<ChildResult>& baseline,
                      const std::string& editorNote, const std::string& baselineNote)
{
    return "editor: " + firstNote(editor, editorNote) + "; baseline: " + firstNote(baseline, baselineNote);
}

}  // namespace

std::vector<Row> measureFind(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto indexOf = runSeries("find baseline QString::indexOf", indexOfFind(input), input.runs, setup);
    const QString needle = needleNearTheEnd(QString::fromStdString(input.path));
    const auto grep = runSeries("find baseline grep -c",
                                tool(input, QStringLiteral("grep"), {"-c", "-F", "-i", "--", needle}, "find"),
                                input.runs, setup);
    std::vector<Row> rows;
    for (const bool settled : {false, true}) {
        const std::string operation = "find near the end (F3), " + whenText(settled);
        const auto editor = runSeries(operation, editorFind(input, settled), input.runs, 2 * setup);
        const std::string detail = "\"" + needle.toStdString() + "\" " + answersOf(editor, indexOf, "found", "found")
                                   + "; grep -c: " + firstNote(grep, "answer") + "; "
                                   + medianBreakdown(editor, {"settle", "find", "again", "freeze"})
                                   + " (again: F3 from the start once more; freeze: the longest time the first find did not paint)";
        const Figure find = figureOf(editor, "find", "find");
        rows.push_back({operation, find, "QString::indexOf, any case", figureOf(indexOf, "find", "find"), detail});
        rows.push_back({operation, find, "grep -c -F -i (a process)", figureOf(grep, "find", "find"), detail});
    }
    return rows;
}

std::vector<Row> measureReplaceAll(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB) + 30;  // the child writes its own input first
    const auto replace = runSeries("replace baseline QString::replace", stringReplace(input), input.runs, setup);
    const auto append = runSeries("replace baseline one pass", appendReplace(input), input.runs, setup);
    std::vector<Row> rows;
    for (const bool settled : {false, true}) {
        const std::string operation = "Replace All, 1,000,000 matches, " + whenText(settled);
        const auto editor = runSeries(operation, editorReplaceAll(input, settled), input.runs, 2 * setup);
        const Figure figure = figureOf(editor, "replace", "replace");
        const Figure open = figureOf(editor, "open", "open");
        const std::string detail = "needle by pin; editor: " + firstNote(editor, "replaced") + "; "
                                   + medianBreakdown(editor, {"open", "settle", "replace", "repaint", "textAfter", "undo", "undoFreeze"})
                                   + " (textAfter: the control's Text() once more afterwards; undo: Undo of it all; undoFreeze: the longest time that Undo did not paint); "
                                   + peakRatio(figure, input.sizeMB) + "; baseline matches: " + firstNote(replace, "matches");
        rows.push_back({operation, figure, "opening the same file (same run)", open, detail});
        rows.push_back({operation, figure, "QString::replace of the same text", figureOf(replace, "replace", "replace"),
                        detail});
        rows.push_back({operation, figure, "one pass of indexOf and append", figureOf(append, "replace", "replace"),
                        detail});
        rows.push_back({"Undo of that Replace All", figureOf(editor, "undo", "undo"), "opening the same file (same run)",
                        open, detail});
    }
    return rows;
}

std::vector<Row> measureWordCount(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto editor = runSeries("Word Count", editorCommand(input, 7, "count"), input.runs, setup);
    const auto wc = runSeries("word count baseline wc -w", tool(input, QStringLiteral("wc"), {"-w"}, "count"),
                              input.runs, setup);
    return {{"Word Count", figureOf(editor, "count", "count"), "wc -w (a process)", figureOf(wc, "count", "count"),
             answersOf(editor, wc, "answer", "answer") + "; " + medianBreakdown(editor, {"count", "again"})
                 + " (again: a second Word Count, the control's text already at hand)"}};
}

std::vector<Row> measureCharacterCount(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto editor = runSeries("Character Count", editorCommand(input, 8, "count"), input.runs, setup);
    const auto wc = runSeries("character count baseline wc -m", tool(input, QStringLiteral("wc"), {"-m"}, "count"),
                              input.runs, setup);
    return {{"Character Count", figureOf(editor, "count", "count"), "wc -m (a process)",
             figureOf(wc, "count", "count"),
             answersOf(editor, wc, "answer", "answer") + "; " + medianBreakdown(editor, {"count", "again"})}};
}

std::vector<Row> measureGoToLine(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto plain = runSeries("go to line baseline QPlainTextEdit", plainGoToLastLine(input), input.runs, setup);
    std::vector<Row> rows;
    for (const bool settled : {false, true}) {
        const std::string operation = "Go To Line, last line, " + whenText(settled);
        const auto editor = runSeries(operation, editorGoToLastLine(input, settled), input.runs, 2 * setup);
        rows.push_back({operation, figureOf(editor, "goto", "goto"), "QPlainTextEdit cursor to the last block",
                        figureOf(plain, "goto", "goto"),
                        medianBreakdown(editor, {"settle", "goto"}) + "; status line after: "
                            + firstNote(editor, "answer")});
    }
    return rows;
}

}  // namespace bench
