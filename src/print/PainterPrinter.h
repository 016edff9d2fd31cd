#pragma once
// The printer layer on a QPrinter: a real printer through the system's print
// service, or a PDF file when the QPrinter has an output file name. Lengths
// come from the printer's page layout; drawing is in device pixels.
#include "print/PrinterDevice.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>

class QPrinter;

class PainterPrinter : public PrinterDevice {
public:
    explicit PainterPrinter(QPrinter& printer);
    ~PainterPrinter() override;

    // True when the printer refused to start the document.
    bool failed() const { return m_state == Failed; }
    bool active() const { return m_state == Active; }

    double CurrentX() const override { return m_x; }
    void setCurrentX(double x) override { m_x = x; }
    double CurrentY() const override { return m_y; }
    void setCurrentY(double y) override { m_y = y; }
    double ScaleWidth() const override { return m_printableWidth; }
    double ScaleHeight() const override { return m_printableHeight; }
    double Width() const override { return m_paperWidth; }
    int Page() const override { return m_page; }
    double TextWidth(const QString& text) const override;
    double TextHeight(const QString& text) const override;
    void Print(const QString& text, LineEnd end) override;
    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;
    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void setFontBold(bool on) override;
    void setFontItalic(bool on) override;
    void setForeColor(qint32 color) override;

private:
    enum State { Idle, Active, Ended, Failed };

    bool start();
    void fontChanged();
    void flush();  // draws the text collected for the current run

    QPrinter& m_printer;
    QPainter m_painter;
    State m_state = Idle;
    double m_printableWidth = 0, m_printableHeight = 0, m_paperWidth = 0;
    double m_pixelsPerTwipX = 1, m_pixelsPerTwipY = 1;
    double m_x = 0, m_y = 0;
    int m_page = 1;
    QFont m_font;
    QFontMetricsF m_metrics;
    QColor m_color = Qt::black;
    // Widths already measured in m_widthsFont: words and blanks repeat, and
    // measuring shapes the text each time.
    mutable QHash<QString, double> m_widths;
    QFont m_widthsFont;
    // Text printed piece by piece at adjoining places goes out as one run.
    QString m_run;
    double m_runX = 0, m_runY = 0, m_runEnd = 0;
};
