// Places inside a help file, and how the links of its pages, sitemaps and
// context aliases lead to them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tv::help {

// An object of the help file ("/sub/tablas.htm", absolute inside the
// archive) and an anchor in it ("" for the top).
struct TopicLink {
  std::string path;
  std::string fragment;

  bool operator==(const TopicLink&) const = default;
};

// Where `link`, written in the object at `base`, leads inside the same help
// file. Relative links resolve against `base`'s folder, "." and ".." fold
// away, backslashes count as slashes, "%xx" escapes are decoded and a
// "?query" is dropped. "#anchor" alone stays on `base`. The forms that name
// an object of a .chm file ("ms-its:file.chm::/x.htm",
// "mk:@MSITStore:file.chm::/x.htm", "file.chm::/x.htm") and the viewer's own
// "chm:///x.htm" lead to that object of this file: a help file has one
// archive. Nothing for an empty link and for links that leave the file
// (http:, mailto:, javascript:...).
std::optional<TopicLink> ResolveLink(std::string_view base, std::string_view link);

// The object an [ALIAS] target from /#STRINGS names. Compilers store the
// name relative to the project, but chmcmd 3.2.2 stores the absolute path it
// had on the build machine; so after the name itself (under "/") come ever
// shorter tails of it, "/home/a/help/sub/x.htm", "/a/help/sub/x.htm", ...,
// "/sub/x.htm", down to the base name "/x.htm". The first tail for which
// `exists` holds wins; nothing when none does.
std::optional<TopicLink> FindAliasTarget(std::string_view alias,
                                         const std::function<bool(std::string_view)>& exists);

}  // namespace tv::help
