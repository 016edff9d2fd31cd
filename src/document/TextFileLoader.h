#pragma once
// Reads a plain-text file into a text control in slices, so that a big file
// neither freezes the window nor has to be loaded to the end: a long load
// shows its progress and can be cancelled, which leaves the control empty.
// Each paragraph keeps the line break it had in the file; no undo steps are
// recorded.
#include "document/TextFileCodec.h"

#include <QString>
#include <functional>
#include <optional>

class QFile;
class QTextEdit;

class TextFileLoader {
public:
    // The editor's signals stay quiet while the text goes in; inserted runs
    // once, when all of it is in and they flow again.
    TextFileLoader(QTextEdit* editor, std::function<void()> inserted);

    // Replaces the editor's content with the file's; false with
    // errorString() on failure.
    bool load(const QString& path);
    QString errorString() const { return m_error; }
    // Whether the user cancelled it while the text went in.
    bool cancelled() const { return m_cancelled; }
    // Known once the whole text went in.
    std::optional<TextFileFormat> format() const { return m_format; }

private:
    bool insert(TextFileReader& reader, const QString& path);
    void clear();
    bool checkRead(const QFile& file);

    QTextEdit* m_editor;
    std::function<void()> m_inserted;
    QString m_error;
    bool m_cancelled = false;
    std::optional<TextFileFormat> m_format;
};
