#pragma once
// The program's own page layout on a PrinterDevice: words wrapped at the
// right margin, tabs every ten widths of "0", a new page below the bottom
// margin, and on every page a header centred in the top margin and a footer
// centred on the paper. All lengths are twips.
#include "print/PageSettings.h"

#include <QString>
#include <functional>

class PrinterDevice;

struct PrintFont {
    QString name;
    double size = 10;
    bool bold = false;
    bool italic = false;
};

// The part of a path after its last folder separator ("\" or "/").
QString FileNameOnly(const QString& path);
// The job's header: the file name of the document's caption when the
// header holds "&f", otherwise the header as it stands.
QString HeaderText(const QString& pageHeader, const QString& caption);
// The first "&p" of the footer replaced by the page number.
QString FooterText(const QString& pageFooter, int page);

struct MarginsInTwips {
    double left = 0, right = 0, top = 0, bottom = 0;
};
// A bottom margin under one inch counts as one inch.
MarginsInTwips marginsInTwips(const PageSettings& settings);

class PrintLayout {
public:
    PrintLayout(PrinterDevice& printer, const PageSettings& settings, const PrintFont& font);

    // Asked before every new page; false stops the job where it is (the
    // document has been aborted by then).
    void setContinueCheck(std::function<bool()> check) { m_continue = std::move(check); }

    void SetPrinterFont();
    // newPage: 0 for the first page of the job, -1 for every following one.
    void PrintPageFrame(const QString& header, int newPage);
    // Prints the text as one complete job in the colour given; false when
    // the continue check stopped it.
    bool PrintText(const QString& header, const QString& text, qint32 color);

private:
    MarginsInTwips pageMargins() const;
    bool nextLine(const QString& header);  // after a line end: new page or left margin
    void tab();

    PrinterDevice& m_printer;
    PageSettings m_settings;
    PrintFont m_font;
    MarginsInTwips m_margins;
    std::function<bool()> m_continue;
};
