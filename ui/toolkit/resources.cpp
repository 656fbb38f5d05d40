#include "ui/toolkit/resources.h"

#include <algorithm>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/control.h"
#include "ui/toolkit/paint_manager.h"

namespace tk {

namespace {
constexpr Color kDefaultText = 0xFF1F2937;
constexpr Color kDefaultDisabled = 0xFF9CA3AF;
constexpr Color kDefaultWindow = 0xFFFFFFFF;
}  // namespace

SkinResources::SkinResources() {
  FontSpec def;
  def.family = u"WenQuanYi Micro Hei";
  def.size = 13;
  m_fonts.push_back(def);
}

void SkinResources::AddFont(int id, const FontSpec& font, bool isDefault) {
  if (isDefault) m_fonts[0] = font;
  if (id < 0) return;
  auto it = m_fontIds.find(id);
  if (it != m_fontIds.end()) {
    m_fonts[it->second] = font;
    return;
  }
  if (m_fonts.size() >= 256) return;
  m_fontIds[id] = static_cast<int>(m_fonts.size());
  m_fonts.push_back(font);
}

const FontSpec& SkinResources::GetFont(int id) const { return m_fonts[FontIndex(id)]; }

int SkinResources::FontIndex(int id) const {
  auto it = m_fontIds.find(id);
  return it == m_fontIds.end() ? 0 : it->second;
}

void SkinResources::SetColor(std::u16string_view name, Color c) {
  auto it = m_colors.find(name);
  if (it != m_colors.end()) it->second = c;
  else m_colors.emplace(std::u16string(name), c);
}

std::optional<Color> SkinResources::FindColor(std::u16string_view name) const {
  auto it = m_colors.find(name);
  if (it == m_colors.end()) return std::nullopt;
  return it->second;
}

std::optional<Color> SkinResources::ParseColor(std::u16string_view value) const {
  value = Trim(value);
  if (!value.empty() && value.front() == u'$') return FindColor(value.substr(1));
  return ParseHexColor(value);
}

Color SkinResources::TextColor() const { return FindColor(u"text").value_or(kDefaultText); }
Color SkinResources::DisabledTextColor() const { return FindColor(u"text-disabled").value_or(kDefaultDisabled); }
Color SkinResources::WindowColor() const { return FindColor(u"window").value_or(kDefaultWindow); }

void SkinResources::AddStyle(std::u16string_view name, AttributeList attributes) {
  auto it = m_styles.find(name);
  if (it != m_styles.end()) it->second = std::move(attributes);
  else m_styles.emplace(std::u16string(name), std::move(attributes));
}

const AttributeList* SkinResources::FindStyle(std::u16string_view name) const {
  auto it = m_styles.find(name);
  return it == m_styles.end() ? nullptr : &it->second;
}

void SkinResources::AddDefault(std::u16string_view controlClass, AttributeList attributes) {
  auto it = m_defaults.find(controlClass);
  if (it != m_defaults.end()) it->second = std::move(attributes);
  else m_defaults.emplace(std::u16string(controlClass), std::move(attributes));
}

const AttributeList* SkinResources::FindDefault(std::u16string_view controlClass) const {
  auto it = m_defaults.find(controlClass);
  return it == m_defaults.end() ? nullptr : &it->second;
}

bool SkinResources::MarkLoaded(std::u16string_view file) {
  if (std::find(m_loaded.begin(), m_loaded.end(), file) != m_loaded.end()) return false;
  m_loaded.emplace_back(file);
  return true;
}

namespace {
thread_local const SkinResources* t_buildResources = nullptr;
}  // namespace

const SkinResources* ResourcesFor(const CControlUI* control) {
  if (control && control->GetManager()) return &control->GetManager()->Resources();
  return t_buildResources;
}

std::optional<Color> ParseColorFor(const CControlUI* control, std::u16string_view value) {
  if (const SkinResources* res = ResourcesFor(control)) return res->ParseColor(value);
  return ParseHexColor(value);
}

BuildResourcesScope::BuildResourcesScope(const SkinResources* resources) : m_previous(t_buildResources) {
  t_buildResources = resources;
}

BuildResourcesScope::~BuildResourcesScope() { t_buildResources = m_previous; }

}  // namespace tk
