// Any UTF-16 text through the decoders, with substitutes taken from the input: no crash, no
// hang, and the relations between the decoders hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "localizer/string_utils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora::localizer;
  if (size < 2) return 0;
  // Two length bytes for the substitutes, then the text as UTF-16 code units.
  const std::size_t cr_length = data[0] % 4, crlf_length = data[1] % 4;
  std::u16string units;
  for (std::size_t i = 2; i + 1 < size; i += 2) {
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  const std::u16string cr = units.substr(0, cr_length);
  const std::u16string crlf = units.substr(cr.size(), crlf_length);
  const std::u16string text = units.substr(cr.size() + crlf.size());

  std::u16string literal;
  bool strict_ok = false;
  try {
    LiteralToString(text, literal);
    strict_ok = true;
  } catch (const ELiteralToStringError& error) {
    if (error.ErrorPosition < 1 || std::size_t(error.ErrorPosition) > text.size()) std::abort();
    if (literal.size() > text.size()) std::abort();
  } catch (const Exception&) {
  }
  try {
    const std::u16string lenient = DecodeQuotedValue(text);
    // Text that decodes strictly decodes the same leniently.
    if (strict_ok && lenient != literal) std::abort();
    if (lenient.size() > text.size() + 1) std::abort();
  } catch (const ELiteralToStringError&) {
    std::abort();  // the lenient decoder recovers from these
  } catch (const Exception&) {
    if (strict_ok) std::abort();
  }
  // A substitute replaced by itself changes nothing.
  if (DecodeHumanizedValue(text, cr, cr, cr) != text) std::abort();
  (void)DecodeValue(text, true, cr, crlf, u"\r\n");
  std::u16string rest = text;
  const std::u16string head = SplitHeadW(rest, cr);
  if (head.size() + rest.size() + (head.size() == text.size() ? 0 : cr.size()) != text.size()) {
    std::abort();
  }
  (void)WideToAnsiCP(text, 65001);
  (void)WideToAnsiCP(text, 1252);
  return 0;
}
