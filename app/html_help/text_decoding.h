// Text of a help file as UTF-8. Pages and sitemaps inside .chm files are
// stored in the code page of the machine that wrote them; in Spanish help
// files that is windows-1252, sometimes declared in a <meta> tag, often not.
#pragma once

#include <string>
#include <string_view>

namespace tv::help {

// The charset an HTML text declares in a <meta charset="..."> or
// <meta http-equiv="Content-Type" content="...; charset=..."> tag, in lower
// case; empty when it declares none.
std::string DeclaredCharset(std::string_view html);

// `bytes` in `charset` converted to UTF-8. "windows-1252" and its usual
// aliases (latin1, iso-8859-1, us-ascii, as browsers treat them) are decoded
// here; other charsets go through iconv. An empty or unknown charset, and
// UTF-8 text that is not valid UTF-8, fall back to windows-1252. Never fails.
std::string DecodeToUtf8(std::string_view bytes, std::string_view charset);

// An HTML text (a page, a sitemap) as UTF-8: its byte-order mark, else its
// declared charset; without either, valid UTF-8 stays UTF-8 and anything
// else is taken as windows-1252.
std::string DecodeHtml(std::string_view html);

// Plain text of unknown encoding (a title): valid UTF-8 stays, anything else
// is windows-1252.
std::string DecodeGuessing(std::string_view text);

// Whether `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// `text` with ASCII and Latin-1 letters (á, Ñ...) in lower case, for
// comparisons that ignore letter case.
std::string FoldCase(std::string_view utf8);

}  // namespace tv::help
