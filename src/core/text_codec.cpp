#include "core/text_codec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace jubilora {

namespace {

// Code points of bytes 0x80..0x9F. The five bytes Windows-1252 leaves undefined keep the
// C1 control of the same number, so that every byte survives a round trip.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80..0x87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88..0x8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90..0x97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98..0x9F
};

char32_t CodePointOf(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return HighControls[byte - 0x80u];
  return byte;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    // Every code point of the table is below U+10000.
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `pos` and moves past it; nothing for overlong forms,
// surrogates, values above U+10FFFF, stray or missing continuation bytes.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    cp = lead & 0x1Fu;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    cp = lead & 0x0Fu;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    cp = lead & 0x07u;
    minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - pos <= extra) return std::nullopt;
  for (std::size_t i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0u) != 0x80u) return std::nullopt;
    cp = (cp << 6) | (next & 0x3Fu);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  pos += extra + 1;
  return cp;
}

// The nearest Windows-1252 letter of each character of Latin Extended-A and -B
// (U+0100..U+024F): the base letter without its accent, or the code page's own letter
// where it has a closer one (Ǖ → Ü, Ǽ → Æ). "?" where no letter comes near.
constexpr std::u32string_view LatinExtended =
    U"AaAaAaCcCcCcCcDd" U"DdEeEeEeEeEeGgGg" U"GgGgHhHhIiIiIiIi" U"Ii??JjKkkLlLlLlL"
    U"lLlNnNnNn?NnOoOo" U"OoOoRrRrRrSsSsSs" U"SsTtTtTtUuUuUuUu" U"UuUuWwYyYZzZzZzs"
    U"bBBb??OCcDDDd?EE" U"EFfGGhIIKkl?MNnO" U"Oo??PpR????tTtTU" U"uUVYyZzZ??z????w"
    U"?????????????AaI" U"iOoUuÜüÜüÜüÜüeÄä" U"AaÆæGgGgKkOoOoZz" U"j???GgHWNnÅåÆæØø"
    U"AaAaEeEeIiIiOoOo" U"RrRrUuUuSsTt??Hh" U"Nd??ZzAaEeÖöÕõOo" U"OoYylntj??ACcLTs"
    U"z??BUVEeJjQqRrYy";
constexpr char32_t LatinExtendedFirst = 0x0100;

// Letters that stand for two.
struct Digraph {
  char32_t cp;
  const char* letters;
};
constexpr std::array<Digraph, 15> Digraphs = {{{0x132, "IJ"}, {0x133, "ij"}, {0x149, "'n"}, {0x1C4, "DZ"},
                                               {0x1C5, "Dz"}, {0x1C6, "dz"}, {0x1C7, "LJ"}, {0x1C8, "Lj"},
                                               {0x1C9, "lj"}, {0x1CA, "NJ"}, {0x1CB, "Nj"}, {0x1CC, "nj"},
                                               {0x1F1, "DZ"}, {0x1F2, "Dz"}, {0x1F3, "dz"}}};

// The code page's accented letters as base letter + combining mark, for text written
// decomposed (as some address books store it). Marks: ` grave, ' acute, ^ circumflex,
// ~ tilde, : diaeresis, o ring, , cedilla, v caron.
constexpr std::u32string_view Composed = U"ŠŽšžŸÀÁÂÃÄÅÇÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝàáâãäåçèéêëìíîïñòóôõöùúûüýÿ";
constexpr std::string_view ComposedBase = "SZszYAAAAAACEEEEIIIINOOOOOUUUUYaaaaaaceeeeiiiinooooouuuuyy";
constexpr std::string_view ComposedMark = "vvvv:`'^~:o,`'^:`'^:~`'^~:`'^:'`'^~:o,`'^:`'^:~`'^~:`'^:':";

char32_t MarkOf(char symbol) {
  switch (symbol) {
    case '`': return 0x300;
    case '\'': return 0x301;
    case '^': return 0x302;
    case '~': return 0x303;
    case ':': return 0x308;
    case 'o': return 0x30A;
    case ',': return 0x327;
    default: return 0x30C;
  }
}

bool IsCombiningMark(char32_t cp) { return cp >= 0x300 && cp <= 0x36F; }

// The letter's accented form, if the code page has it, replaces the letter; otherwise
// the mark is dropped and the plain letter stays.
void JoinMark(std::string& out, char32_t mark) {
  if (out.empty()) return;
  for (std::size_t i = 0; i < Composed.size(); ++i) {
    if (ComposedBase[i] == out.back() && MarkOf(ComposedMark[i]) == mark) {
      out.back() = *Cp1252FromCodePoint(Composed[i]);
      return;
    }
  }
}

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }
bool IsBlank(char32_t cp) {
  return (cp >= 0x09 && cp <= 0x0D) || (cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F || cp == 0x205F ||
         cp == 0x3000;
}
bool IsInvisible(char32_t cp) { return (cp >= 0x200B && cp <= 0x200D) || cp == 0x2060 || cp == 0xFEFF; }

void AppendNearest(std::string& out, char32_t cp) {
  if (IsBlank(cp)) {
    out += ' ';
  } else if (IsControl(cp)) {
    out += '?';
  } else if (const auto byte = Cp1252FromCodePoint(cp)) {
    out += *byte;
  } else if (IsCombiningMark(cp)) {
    JoinMark(out, cp);
  } else if (IsInvisible(cp)) {
    return;
  } else if (cp >= LatinExtendedFirst && cp < LatinExtendedFirst + LatinExtended.size()) {
    for (const Digraph& d : Digraphs) {
      if (d.cp == cp) {
        out += d.letters;
        return;
      }
    }
    out += *Cp1252FromCodePoint(LatinExtended[cp - LatinExtendedFirst]);
  } else {
    out += '?';
  }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
  return out;
}

std::optional<char> Cp1252FromCodePoint(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < HighControls.size(); ++i) {
    if (HighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto cp = NextCodePoint(text, pos);
    if (!cp) return std::nullopt;
    const auto byte = Cp1252FromCodePoint(*cp);
    if (!byte) return std::nullopt;
    out += *byte;
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!NextCodePoint(text, pos)) return false;
  }
  return true;
}

std::string Utf8ToCp1252Nearest(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (const auto cp = NextCodePoint(text, pos)) {
      AppendNearest(out, *cp);
    } else {
      out += '?';
      ++pos;
    }
  }
  return out;
}

}  // namespace jubilora
