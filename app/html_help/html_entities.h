// HTML character references in text taken out of markup by hand (the names
// in sitemaps), where no HTML engine decodes them.
#pragma once

#include <string>
#include <string_view>

namespace tv::help {

// UTF-8 `text` with its character references ("&aacute;", "&#225;",
// "&#xE1;", "&amp;") replaced by the characters they stand for. The named
// ones known are HTML's Latin-1 set and the common punctuation; an unknown
// or malformed reference stays as written.
std::string DecodeEntities(std::string_view text);

}  // namespace tv::help
