#pragma once
// What printing needs of a printer. All lengths are twips (1440 per inch);
// positions have their origin at the top-left corner of the printable area.
#include <QString>

class PrinterDevice {
public:
    enum LineEnd { ContinueLine, EndLine };

    virtual ~PrinterDevice() = default;

    virtual double CurrentX() const = 0;
    virtual void setCurrentX(double x) = 0;
    virtual double CurrentY() const = 0;
    virtual void setCurrentY(double y) = 0;

    virtual double ScaleWidth() const = 0;   // printable width
    virtual double ScaleHeight() const = 0;  // printable height
    virtual double Width() const = 0;        // paper width
    virtual int Page() const = 0;            // 1 on the first page

    virtual double TextWidth(const QString& text) const = 0;
    virtual double TextHeight(const QString& text) const = 0;

    // Prints at the current position. ContinueLine advances x by the text's
    // width; EndLine moves y down one line height and x back to 0. The first
    // output starts the document.
    virtual void Print(const QString& text, LineEnd end) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;   // releases the document to the printer
    virtual void KillDoc() = 0;  // aborts the document in progress

    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool on) = 0;
    virtual void setFontItalic(bool on) = 0;
    virtual void setForeColor(qint32 color) = 0;  // 0x00BBGGRR
};
