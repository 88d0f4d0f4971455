// Reading SIGAD elements: every value is an attribute's text without its
// leading and trailing spaces; a missing attribute reads as the empty text.
#pragma once

#include <string>
#include <string_view>

#include "text.h"
#include "xml_document.h"

namespace tv {

inline std::string Trimmed(XmlNode node, std::string_view attribute) {
  return TrimBoth(AttributeText(node, attribute));
}

}  // namespace tv
