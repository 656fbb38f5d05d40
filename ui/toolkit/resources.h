// The look shared by a window's skin: fonts by id, colours by name, named
// styles (attribute lists a control takes with style="name"), and the
// default attributes of each control class. Filled from the theme file
// ("theme.xml" in the skin folder) and then from the skin's own
// <Font>, <Color>, <Style> and <Default> elements.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/toolkit/geometry.h"
#include "ui/toolkit/paint.h"

namespace tk {

using AttributeList = std::vector<std::pair<std::u16string, std::u16string>>;

class SkinResources {
 public:
  SkinResources();

  // Fonts: id -1 is the default font.
  void AddFont(int id, const FontSpec& font, bool isDefault);
  const FontSpec& GetFont(int id) const;
  // Index of the font in `Fonts()` for a paint operation.
  int FontIndex(int id) const;
  const std::vector<FontSpec>& Fonts() const { return m_fonts; }

  // Named colours ("accent", "text", ...). ParseColor understands
  // "#RRGGBB", "#AARRGGBB", "0xAARRGGBB" and "$name".
  void SetColor(std::u16string_view name, Color c);
  std::optional<Color> FindColor(std::u16string_view name) const;
  std::optional<Color> ParseColor(std::u16string_view value) const;
  // The theme's text colours (defaults when the theme has none).
  Color TextColor() const;
  Color DisabledTextColor() const;
  Color WindowColor() const;

  void AddStyle(std::u16string_view name, AttributeList attributes);
  const AttributeList* FindStyle(std::u16string_view name) const;
  void AddDefault(std::u16string_view controlClass, AttributeList attributes);
  const AttributeList* FindDefault(std::u16string_view controlClass) const;

  // Files already merged (so a theme is read once per window).
  bool MarkLoaded(std::u16string_view file);

 private:
  std::vector<FontSpec> m_fonts;          // [0] is the default font
  std::map<int, int> m_fontIds;           // skin id -> index in m_fonts
  std::map<std::u16string, Color, std::less<>> m_colors;
  std::map<std::u16string, AttributeList, std::less<>> m_styles;
  std::map<std::u16string, AttributeList, std::less<>> m_defaults;
  std::vector<std::u16string> m_loaded;
};

// The resources that attribute values ("$accent", style="name") are read
// against: the control's window, or while a skin is being built (and its
// controls are not in a window yet) the builder's.
const SkinResources* ResourcesFor(const class CControlUI* control);
// A colour attribute value as `control` reads it.
std::optional<Color> ParseColorFor(const class CControlUI* control, std::u16string_view value);

class BuildResourcesScope {
 public:
  explicit BuildResourcesScope(const SkinResources* resources);
  ~BuildResourcesScope();
  BuildResourcesScope(const BuildResourcesScope&) = delete;
  BuildResourcesScope& operator=(const BuildResourcesScope&) = delete;

 private:
  const SkinResources* m_previous;
};

}  // namespace tk
