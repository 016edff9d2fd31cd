#pragma once
// A printer that only records what is printed, with simple fixed metrics:
// every character has a width (100 twips unless set otherwise) and every
// line the same height. Used to check page layout without paper.
#include "print/PrinterDevice.h"

#include <QHash>
#include <QList>

class RecordingPrinter : public PrinterDevice {
public:
    struct Output {
        int page = 0;
        double x = 0, y = 0;  // where the text starts
        QString text;
        bool endsLine = false;
        QString fontName;
        double fontSize = 0;
        bool bold = false, italic = false;
        qint32 color = 0;
        QString look() const  // "font size bold italic colour"
        {
            return QStringLiteral("%1 %2 %3 %4 %5").arg(fontName).arg(fontSize).arg(bold).arg(italic).arg(color);
        }
    };
    enum Event { Started, PageBreak, Ended, Killed };

    // Letter paper with a quarter inch unprintable on every side.
    double printableWidth = 11880, printableHeight = 15480, paperWidth = 12240;
    double defaultCharWidth = 100, lineHeight = 240;
    QHash<QChar, double> charWidths;

    QList<Output> outputs;
    QList<Event> events;

    QList<Output> visible() const;  // the outputs that are not blank
    int pageCount() const { return events.contains(Started) ? 1 + int(events.count(PageBreak)) : 0; }

    double CurrentX() const override { return m_x; }
    void setCurrentX(double x) override { m_x = x; }
    double CurrentY() const override { return m_y; }
    void setCurrentY(double y) override { m_y = y; }
    double ScaleWidth() const override { return printableWidth; }
    double ScaleHeight() const override { return printableHeight; }
    double Width() const override { return paperWidth; }
    int Page() const override { return m_page; }
    double TextWidth(const QString& text) const override;
    double TextHeight(const QString&) const override { return lineHeight; }
    void Print(const QString& text, LineEnd end) override;
    void NewPage() override;
    void EndDoc() override { finish(Ended); }
    void KillDoc() override { finish(Killed); }
    void setFontName(const QString& name) override { m_font.fontName = name; }
    void setFontSize(double points) override { m_font.fontSize = points; }
    void setFontBold(bool on) override { m_font.bold = on; }
    void setFontItalic(bool on) override { m_font.italic = on; }
    void setForeColor(qint32 color) override { m_font.color = color; }

private:
    void start();
    void finish(Event how);

    double m_x = 0, m_y = 0;
    int m_page = 1;
    bool m_active = false;
    Output m_font;  // the font and colour of the next output
};
