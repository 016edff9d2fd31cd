// "clean": Edit, Clean on a document of URL-encoded form data, against a
// plain one-pass decoder of the same text.
#include "DocumentFixture.h"
#include "FormData.h"
#include "Operations.h"
#include "Timing.h"

#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/TextFileCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

namespace bench {

namespace {

// The edge cases of Clean's rule order, on top of generated lines.
const char* const TrickyLines =
    "name=John+Smith&city=New+York%2C+NY\n"
    "a%2Bb%26c %253D %252C %2525 %41 %20 %0d%0a %2c%3a%2f%7e %25%5E %253%3D %%3D %\n";

constexpr int SampleLines = 300;

// Both sides as Text() shows them: every line break a paragraph break.
QString paragraphs(const QString& text) { return normalizeLineBreaks(text); }

// Clean of a small text in the editor must give what the decoder gives.
bool sameAsDecoder(frmMain* main, RichTextBox* box, std::string* difference)
{
    const QString sample = QString::fromStdString(formDataSample(SampleLines) + TrickyLines);
    box->setText(sample);
    main->mnuClean_Click(1);
    const QString cleaned = paragraphs(box->Text());
    const QString decoded = paragraphs(decodeFormData(sample));
    if (cleaned == decoded)
        return true;
    qsizetype at = 0;
    while (at < cleaned.size() && at < decoded.size() && cleaned[at] == decoded[at])
        ++at;
    *difference = "Clean and the decoder differ at " + std::to_string(at) + ": Clean \""
                  + cleaned.mid(at, 40).toStdString() + "\", decoder \"" + decoded.mid(at, 40).toStdString() + "\"";
    return false;
}

bool writeFormData(const QString& path, int sizeMB)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool ok = true;
    generateFormData(sizeMB, [&](const std::string& chunk) {
        ok = ok && file.write(chunk.data(), qint64(chunk.size())) == qint64(chunk.size());
    });
    return ok;
}

ChildBody editorClean(const BenchInput& input)
{
    const int sizeMB = input.sizeMB;
    const int limit = phaseLimitSeconds(sizeMB);
    return [sizeMB, limit](ChildReport& report) {
        storeWordWrap(false);
        OpenedDocument document;
        RichTextBox* box = document.text();
        std::string difference;
        if (!sameAsDecoder(document.main(), box, &difference))
            return report.fail(difference);

        QTemporaryDir folder;
        const QString path = folder.filePath("form-data.txt");
        if (!writeFormData(path, sizeMB))
            return report.fail("set-up: cannot write " + path.toStdString());
        Stopwatch opening;
        if (const char* failure = document.openAndShow(path))
            return report.fail(failure);
        report.set("open", opening.elapsedMs());
        const int lengthBefore = box->TextLength();
        const int paragraphsBefore = box->document()->blockCount();

        report.limit(limit, "clean");
        Stopwatch total;
        Stopwatch phase;
        document.main()->mnuClean_Click(1);
        report.set("command", phase.elapsedMs());
        phase.restart();
        if (!paintFirstScreen(document.main(), box->viewport()))
            return report.fail("the cleaned text never painted");
        report.set("paint", phase.elapsedMs());
        report.set("clean", total.elapsedMs());
        report.limit(0, "");
        report.note("sizes", "Text " + std::to_string(lengthBefore) + " -> " + std::to_string(box->TextLength())
                                 + " characters, paragraphs " + std::to_string(paragraphsBefore) + " -> "
                                 + std::to_string(box->document()->blockCount()));
    };
}

ChildBody plainDecoder(const BenchInput& input)
{
    const int sizeMB = input.sizeMB;
    const int limit = phaseLimitSeconds(sizeMB);
    return [sizeMB, limit](ChildReport& report) {
        std::string bytes;
        generateFormData(sizeMB, [&bytes](const std::string& chunk) { bytes += chunk; });
        const QString text = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
        bytes = std::string();

        report.limit(limit, "clean");
        Stopwatch watch;
        const QString decoded = decodeFormData(text);
        report.set("clean", watch.elapsedMs());
        report.note("chars", std::to_string(decoded.size()));
    };
}

}  // namespace

std::vector<Row> measureClean(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto decoderRuns = runSeries("clean baseline one-pass decoder", plainDecoder(input), input.runs, setup);
    const auto editorRuns = runSeries("clean (Edit, Clean)", editorClean(input), input.runs, setup);
    const Figure clean = figureOf(editorRuns, "clean", "clean");
    std::string detail = medianBreakdown(editorRuns, {"open", "command", "paint"}) + "; " + peakRatio(clean, input.sizeMB);
    if (const std::string sizes = firstNote(editorRuns, "sizes"); !sizes.empty())
        detail += "; " + sizes;
    const std::string operation = "clean (mnuClean_Click(1) + repaint), form data";
    return {
        {operation, clean, "opening the same file (same run)", figureOf(editorRuns, "open", "open"), detail},
        {operation, clean, "one-pass decoder into a QString", figureOf(decoderRuns, "clean", "clean"), detail},
    };
}

}  // namespace bench
