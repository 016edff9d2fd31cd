#pragma once
// URL-encoded form data for the Clean benchmark, and a plain one-pass
// decoder to compare Clean with. The text is lines of two or three fields
// ("q=...&r=..."), words joined by "+", punctuation as %XX codes, LF line
// ends; it depends only on the size.
#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <string>

namespace bench {

// One line of form data, without its LF; the generator state advances.
std::string nextFormDataLine(std::uint64_t& state, std::uint64_t lineNumber);

// Whole lines of form data, as close to sizeMB * BytesPerMB bytes as whole
// lines allow, handed out in chunks of about a megabyte.
void generateFormData(int sizeMB, const std::function<void(const std::string&)>& chunk);

// The first `lines` lines, LF-terminated.
std::string formDataSample(int lines);

// What Clean makes of `text`, decoded in one pass: "&" becomes a blank and
// LF, "+" a blank, each %XX code of Clean's table its character (hex digits
// in either case), "%0D%0A" CR LF; a "%" that "%25" yields joins the two
// characters after it into a code when one of the table's later codes
// (%5E to %7E) forms, as the rule order of Clean does.
QString decodeFormData(QStringView text);

}  // namespace bench
