// "keystroke": one key typed into a loaded document, until the screen shows
// it, with the caret near the top and in the middle (a letter, and Enter
// splitting the paragraph), with word wrap on (the first start's default)
// and off, and at the very end after a Find in a maximised window; against
// the same keys in a QPlainTextEdit of the same size with the same text.
#include "DocumentFixture.h"
#include "Interaction.h"
#include "Operations.h"
#include "Targets.h"
#include "Timing.h"

#include "document/RichTextBox.h"

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>

namespace bench {

namespace {

constexpr int Keystrokes = 30;
constexpr int CaretColumn = 40;
constexpr int TopBlock = 2;
constexpr double FrameMs = 16;
constexpr double BaselineFactor = 2;

struct Place {
    std::string key;    // the figure's name
    std::string label;  // for the table
    Qt::Key typed;
    bool middle;
    bool endAfterFind = false;  // in a window of MaximisedSize
};

const QSize MaximisedSize(1920, 1080);

const std::vector<Place>& places()
{
    static const std::vector<Place> all = {
        {"top", "a letter, caret near the top", Qt::Key_X, false},
        {"middle", "a letter, caret in the middle", Qt::Key_X, true},
        {"enter", "Enter, caret in the middle", Qt::Key_Return, true},
        {"end", "a letter at the end after a Find, maximised", Qt::Key_X, false, true},
    };
    return all;
}

// Types the place's key Keystrokes times at a caret put CaretColumn
// characters into the paragraph, each until painted; reports the median,
// the first and the slowest, and fails unless every key reached the text.
// The window the edit fills, as large as a maximised one; the editor's
// document window maximised in it.
void maximise(QWidget* edit)
{
    for (QWidget* parent = edit->parentWidget(); parent; parent = parent->parentWidget()) {
        if (auto* child = qobject_cast<QMdiSubWindow*>(parent))
            child->showMaximized();
    }
    edit->window()->resize(MaximisedSize);
}

// The caret at the end, the editor's after a search for the last word, the
// way a user gets there (the search's own time is not counted).
void findTheEnd(RichTextBox* edit)
{
    const QString last = edit->document()->lastBlock().previous().text().section(u' ', -1);
    edit->Find(last, 0, -1, 0);
    edit->setSelStart(edit->TextLength());
}
void findTheEnd(QPlainTextEdit* edit) { edit->moveCursor(QTextCursor::End); }

template <class Edit>
bool typeAt(ChildReport& report, Edit* edit, const Place& place)
{
    QTextDocument* doc = edit->document();
    if (place.endAfterFind) {
        maximise(edit);
        findTheEnd(edit);
    } else {
        const int block = place.middle ? doc->blockCount() / 2 : TopBlock;
        QTextCursor caret(doc->findBlockByNumber(block));
        caret.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, CaretColumn);
        edit->setTextCursor(caret);
    }
    paintPending(edit->viewport());
    runEventsFor(50);  // whatever the move started has run

    const int charactersBefore = doc->characterCount();
    std::vector<double> times;
    int forced = 0;
    for (int i = 0; i < Keystrokes; ++i)
        times.push_back(timedKey(edit, place.typed, &forced));
    report.set(place.key, median(times));
    report.set(place.key + ".first", times.front());
    report.set(place.key + ".max", *std::max_element(times.begin(), times.end()));
    if (forced > 0)
        report.note(place.key + ".forced", std::to_string(forced) + " of " + std::to_string(Keystrokes)
                                               + " paints had to be forced");
    if (doc->characterCount() != charactersBefore + Keystrokes) {
        report.fail(place.key + ": " + std::to_string(doc->characterCount() - charactersBefore)
                    + " characters arrived of " + std::to_string(Keystrokes));
        return false;
    }
    return true;
}

template <class Edit>
void typeEverywhere(ChildReport& report, Edit* edit, int limit)
{
    report.limit(limit, "keystroke");
    for (const Place& place : places()) {
        if (!typeAt(report, edit, place))
            return;
    }
}

ChildBody editorKeys(const BenchInput& input, bool wrap)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, wrap](ChildReport& report) {
        if (!wrap)
            storeWordWrap(false);  // else a first start, which wraps
        OpenedDocument document;
        if (const char* failure = document.openAndShow(path))
            return report.fail(failure);
        RichTextBox* text = document.text();
        focusEditor(text);
        report.note("size", sizeText(text->size()));
        report.note("setting", "RightMargin " + std::to_string(text->RightMargin()) + " twips, viewport "
                                   + sizeText(text->viewport()->size()) + ", focus "
                                   + (text->hasFocus() ? "yes" : "no"));
        typeEverywhere(report, text, limit);
    };
}

ChildBody plainKeys(const BenchInput& input, bool wrap, QSize size)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, wrap, size](ChildReport& report) {
        PlainTextReference reference;
        QPlainTextEdit* edit = reference.edit();
        if (!reference.prepare(path, wrap, size))
            return report.fail("set-up failed");
        focusEditor(edit);
        report.note("setting", "viewport " + sizeText(edit->viewport()->size()) + ", focus "
                                   + (edit->hasFocus() ? "yes" : "no"));
        typeEverywhere(report, edit, limit);
    };
}

std::string spreadOf(const std::vector<ChildResult>& runs, const std::string& key)
{
    return "first " + medianText(runs, key + ".first", 2) + " ms, slowest " + medianText(runs, key + ".max", 2)
           + " ms";
}

}  // namespace

std::vector<Row> measureKeystroke(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    std::vector<Row> rows;
    for (const bool wrap : {true, false}) {
        const std::string mode = wrap ? "wrap on (first start)" : "wrap off";
        const auto editor = runSeries("keystroke " + mode, editorKeys(input, wrap), input.runs, setup);
        const QSize size = sizeFromText(firstNote(editor, "size"));
        const auto plain = runSeries("keystroke baseline QPlainTextEdit " + mode, plainKeys(input, wrap, size),
                                     input.runs, setup);
        const std::string baseline =
            std::string("QPlainTextEdit, same key, ") + (wrap ? "wrap at widget width" : "no wrap");
        for (const Place& place : places()) {
            const Figure ours = figureOf(editor, place.key, "keystroke");
            const Figure theirs = figureOf(plain, place.key, "keystroke");
            std::string detail = "median of " + std::to_string(Keystrokes) + " keys per run; <= 16 ms: "
                                 + againstLimit(ours, FrameMs) + "; <= 2x QPlainTextEdit: "
                                 + againstBaseline(ours, theirs, BaselineFactor) + "; editor "
                                 + spreadOf(editor, place.key) + ", baseline " + spreadOf(plain, place.key)
                                 + " (medians over runs)";
            if (const std::string forced = firstNote(editor, place.key + ".forced"); !forced.empty())
                detail += "; editor: " + forced;
            if (const std::string forced = firstNote(plain, place.key + ".forced"); !forced.empty())
                detail += "; baseline: " + forced;
            if (place.key == "top")
                detail += "; editor: " + firstNote(editor, "setting") + "; baseline: " + firstNote(plain, "setting");
            rows.push_back({"keystroke, " + mode + ", " + place.label, ours, baseline, theirs, detail});
        }
    }
    return rows;
}

}  // namespace bench
