#include "ui/toolkit/dialog_builder.h"

#include <cstdio>
#include <memory>

#include "storage/text.h"
#include "ui/toolkit/attributes.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/combo.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/edit.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/list.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/paths.h"
#include "ui/toolkit/resources.h"
#include "ui/toolkit/web_browser.h"
#include "ui/toolkit/xml.h"

namespace tk {

CControlUI* CreateControlByClass(std::u16string_view c) {
  if (c == u"Control") return new CControlUI;
  if (c == u"Container") return new CContainerUI;
  if (c == u"VerticalLayout") return new CVerticalLayoutUI;
  if (c == u"HorizontalLayout") return new CHorizontalLayoutUI;
  if (c == u"TabLayout") return new CTabLayoutUI;
  if (c == u"Label") return new CLabelUI;
  if (c == u"Text") return new CTextUI;
  if (c == u"Button" || c == u"ListHeaderItem") return new CButtonUI;
  if (c == u"Option") return new COptionUI;
  if (c == u"CheckBox") return new CCheckBoxUI;
  if (c == u"Edit") return new CEditUI;
  if (c == u"RichEdit") return new CRichEditUI;
  if (c == u"Combo") return new CComboUI;
  if (c == u"List") return new CListUI;
  if (c == u"ListHeader") return new CListHeaderUI;
  if (c == u"ListContainerElement") return new CListContainerElementUI;
  if (c == u"ListLabelElement") return new CListLabelElementUI;
  if (c == u"WebBrowser") return new CWebBrowserUI;
  return nullptr;
}

namespace {

constexpr std::u16string_view kThemeFile = u"theme.xml";

bool IsResourceElement(std::u16string_view name) {
  return name == u"Font" || name == u"Color" || name == u"Style" || name == u"Default" || name == u"Include" ||
         name == u"Image";
}

class Builder {
 public:
  Builder(CPaintManagerUI* manager, IDialogBuilderCallback* callback) : m_manager(manager), m_callback(callback) {}

  std::u16string error;

  // Reads and parses a skin file (relative to the skin folder or absolute).
  std::unique_ptr<XmlNode> Load(std::u16string_view file) {
    std::u16string path = ResolveSkinFile(file);
    if (path.empty()) {
      error = u"skin file not found: " + std::u16string(file);
      return nullptr;
    }
    std::string bytes;
    bool tooLarge = false;
    if (!ReadFileLimited(path, CDialogBuilder::kMaxFileBytes, &bytes, &tooLarge)) {
      error = tooLarge ? u"skin file too large: " + path : u"skin file unreadable: " + path;
      return nullptr;
    }
    return Parse(bytes, path);
  }

  std::unique_ptr<XmlNode> Parse(std::string_view bytes, std::u16string_view name) {
    if (bytes.size() > CDialogBuilder::kMaxFileBytes) {
      error = u"skin too large: " + std::u16string(name);
      return nullptr;
    }
    XmlLimits limits;
    limits.maxDepth = CDialogBuilder::kMaxDepth;
    limits.maxNodes = CDialogBuilder::kMaxControls;
    std::u16string why;
    auto root = ParseXml(bytes, limits, &why);
    if (!root) error = std::u16string(name) + u": " + why;
    return root;
  }

  std::u16string ResolveSkinFile(std::u16string_view file) {
    if (file.empty()) return {};
    std::u16string norm = NormalizeSeparators(file);
    if (IsAbsolutePath(norm)) return FindExisting(norm);
    std::u16string base = m_manager ? m_manager->GetResourcePath() : std::u16string();
    if (base.empty()) base = CPaintManagerUI::GetInstancePath();
    return FindExisting(base + norm);
  }

  // The theme of the skin folder, once per window.
  void LoadTheme() {
    if (!m_manager) return;
    std::u16string path = ResolveSkinFile(kThemeFile);
    if (path.empty() || !m_manager->Resources().MarkLoaded(path)) return;
    std::string bytes;
    if (!ReadFileLimited(path, CDialogBuilder::kMaxFileBytes, &bytes, nullptr)) return;
    std::u16string saved = error;
    auto root = Parse(bytes, path);
    error = saved;
    if (!root) {
      std::fprintf(stderr, "toolkit: theme ignored (%s)\n", qv::ToUtf8(path).c_str());
      return;
    }
    for (const XmlNode& child : root->children) ApplyResource(child, 0);
  }

  void ApplyResource(const XmlNode& node, int includeDepth) {
    if (!m_manager) return;
    SkinResources& res = m_manager->Resources();
    if (node.name == u"Font") {
      FontSpec font;
      int id = -1;
      bool isDefault = false;
      for (auto& [n, v] : node.attributes) {
        if (n == u"id") id = ParseInt(v).value_or(-1);
        else if (n == u"name") font.family = v;
        else if (n == u"size") font.size = std::clamp(ParseInt(v).value_or(13), 6, 96);
        else if (n == u"bold") font.bold = ParseBool(v).value_or(false);
        else if (n == u"italic") font.italic = ParseBool(v).value_or(false);
        else if (n == u"underline") font.underline = ParseBool(v).value_or(false);
        else if (n == u"default") isDefault = ParseBool(v).value_or(false);
      }
      if (font.family.empty()) font.family = res.GetFont(-1).family;
      res.AddFont(id, font, isDefault);
    } else if (node.name == u"Color") {
      const std::u16string* name = node.Attribute(u"name");
      const std::u16string* value = node.Attribute(u"value");
      if (name && value)
        if (auto c = res.ParseColor(*value)) res.SetColor(*name, *c);
    } else if (node.name == u"Style") {
      const std::u16string* name = node.Attribute(u"name");
      if (!name || name->empty()) return;
      AttributeList attrs;
      // A style may start from another one ("style" attribute).
      for (auto& [n, v] : node.attributes) {
        if (n == u"name") continue;
        if (n == u"style") {
          if (const AttributeList* base = res.FindStyle(v)) attrs.insert(attrs.end(), base->begin(), base->end());
          continue;
        }
        if (n == u"value") {
          for (auto& p : ParseAttributeList(v)) attrs.push_back(p);
          continue;
        }
        attrs.emplace_back(n, v);
      }
      res.AddStyle(*name, std::move(attrs));
    } else if (node.name == u"Default") {
      const std::u16string* cls = node.Attribute(u"class");
      if (!cls) cls = node.Attribute(u"name");
      if (!cls || cls->empty()) return;
      AttributeList attrs;
      for (auto& [n, v] : node.attributes) {
        if (n == u"class" || n == u"name") continue;
        if (n == u"value") {
          for (auto& p : ParseAttributeList(v)) attrs.push_back(p);
          continue;
        }
        attrs.emplace_back(n, v);
      }
      res.AddDefault(*cls, std::move(attrs));
    } else if (node.name == u"Include") {
      const std::u16string* source = node.Attribute(u"source");
      if (!source || includeDepth >= CDialogBuilder::kMaxIncludeDepth) return;
      std::u16string path = ResolveSkinFile(*source);
      if (path.empty() || !res.MarkLoaded(path)) return;
      std::string bytes;
      if (!ReadFileLimited(path, CDialogBuilder::kMaxFileBytes, &bytes, nullptr)) return;
      std::u16string saved = error;
      auto root = Parse(bytes, path);
      error = saved;
      if (!root) return;
      for (const XmlNode& child : root->children)
        if (IsResourceElement(child.name)) ApplyResource(child, includeDepth + 1);
    }
  }

  void ApplyWindow(const XmlNode& window) {
    if (!m_manager) return;
    for (auto& [n, v] : window.attributes) {
      if (n == u"size") {
        if (auto s = ParseSize(v)) m_manager->SetInitSize({std::clamp(s->cx, 0, 10000), std::clamp(s->cy, 0, 10000)});
      } else if (n == u"caption") {
        if (auto r = ParseRect(v)) m_manager->SetCaptionRect(*r);
      } else if (n == u"sizebox") {
        if (auto r = ParseRect(v)) m_manager->SetSizeBox(*r);
      } else if (n == u"mininfo") {
        if (auto s = ParseSize(v)) m_manager->SetMinInfo(*s);
      } else if (n == u"maxinfo") {
        if (auto s = ParseSize(v)) m_manager->SetMaxInfo(*s);
      } else if (n == u"roundcorner") {
        if (auto s = ParseSize(v)) m_manager->SetRoundCorner(*s);
      } else if (n == u"bkcolor") {
        if (auto c = m_manager->Resources().ParseColor(v)) m_manager->Resources().SetColor(u"window", *c);
      }
    }
  }

  // Builds one control element and its children.
  CControlUI* Build(const XmlNode& node) {
    if (++m_count > CDialogBuilder::kMaxControls) return nullptr;
    CControlUI* control = CreateControlByClass(node.name);
    if (!control && m_callback) control = m_callback->CreateControl(node.name);
    if (!control) return nullptr;  // unknown element: skipped with its children
    ApplyAttributes(control, node);
    if (CContainerUI* container = control->AsContainer()) {
      for (const XmlNode& child : node.children) {
        if (child.name == u"Include") {
          AddIncluded(container, child);
          continue;
        }
        if (IsResourceElement(child.name)) continue;
        CControlUI* built = Build(child);
        if (!built) continue;
        if (!container->Add(built)) delete built;
      }
    }
    return control;
  }

  // <Include source="piece.xml" count="n"/> inside a container: the piece's
  // control, n times (1 by default, at most 100).
  void AddIncluded(CContainerUI* container, const XmlNode& include) {
    const std::u16string* source = include.Attribute(u"source");
    if (!source || m_includeDepth >= CDialogBuilder::kMaxIncludeDepth) return;
    int count = 1;
    if (const std::u16string* c = include.Attribute(u"count")) count = std::clamp(ParseInt(*c).value_or(1), 0, 100);
    std::u16string saved = error;
    auto root = Load(*source);
    error = saved;
    if (!root || root->name == u"Window") return;
    ++m_includeDepth;
    for (int i = 0; i < count; ++i) {
      CControlUI* built = Build(*root);
      if (!built) break;
      if (!container->Add(built)) delete built;
    }
    --m_includeDepth;
  }

  void ApplyAttributes(CControlUI* control, const XmlNode& node) {
    const SkinResources* res = m_manager ? &m_manager->Resources() : nullptr;
    if (res) {
      if (const AttributeList* defaults = res->FindDefault(control->GetClass()))
        for (auto& [n, v] : *defaults) control->SetAttribute(n, v);
    }
    if (const std::u16string* style = node.Attribute(u"style")) control->SetAttribute(u"style", *style);
    for (auto& [n, v] : node.attributes)
      if (n != u"style") control->SetAttribute(n, v);
  }

 private:
  CPaintManagerUI* m_manager;
  IDialogBuilderCallback* m_callback;
  int m_count = 0;
  int m_includeDepth = 0;
};

}  // namespace

namespace {

CControlUI* BuildTree(Builder& builder, std::unique_ptr<XmlNode> root, CPaintManagerUI* manager, CControlUI* parent,
                      std::u16string* error) {
  if (!root) {
    *error = builder.error;
    return nullptr;
  }
  BuildResourcesScope scope(manager ? &manager->Resources() : nullptr);
  const XmlNode* top = root.get();
  if (top->name == u"Window") {
    builder.ApplyWindow(*top);
    const XmlNode* controlNode = nullptr;
    for (const XmlNode& child : top->children) {
      if (IsResourceElement(child.name)) builder.ApplyResource(child, 0);
      else if (!controlNode) controlNode = &child;
    }
    if (!controlNode) {
      *error = u"the window has no control";
      return nullptr;
    }
    top = controlNode;
  }
  CControlUI* control = builder.Build(*top);
  if (!control) {
    *error = u"unknown control element: " + top->name;
    return nullptr;
  }
  if (parent) {
    CContainerUI* container = parent->AsContainer();
    if (!container || !container->Add(control)) {
      delete control;
      *error = u"cannot add to the parent";
      return nullptr;
    }
  }
  return control;
}

}  // namespace

CControlUI* CDialogBuilder::Create(std::u16string_view skinFile, CPaintManagerUI* manager,
                                   IDialogBuilderCallback* callback, CControlUI* parent) {
  m_sError.clear();
  Builder builder(manager, callback);
  builder.LoadTheme();
  return BuildTree(builder, builder.Load(skinFile), manager, parent, &m_sError);
}

CControlUI* CDialogBuilder::CreateFromText(std::string_view xml, CPaintManagerUI* manager,
                                           IDialogBuilderCallback* callback, CControlUI* parent,
                                           std::u16string_view name) {
  m_sError.clear();
  Builder builder(manager, callback);
  builder.LoadTheme();
  return BuildTree(builder, builder.Parse(xml, name.empty() ? u"(text)" : name), manager, parent, &m_sError);
}

}  // namespace tk
