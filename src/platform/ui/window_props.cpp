#include "platform/ui/window_props.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace window_props {
namespace {

constexpr const char* kId = "loadcalc.id";
constexpr const char* kStyle = "loadcalc.style";
constexpr const char* kExStyle = "loadcalc.exStyle";
constexpr const char* kBorder = "loadcalc.border";
constexpr const char* kBound = "loadcalc.wnd";
constexpr const char* kOrder = "loadcalc.order";

qulonglong Read(const QWidget* widget, const char* name) {
  return widget ? widget->property(name).toULongLong() : 0;
}

}  // namespace

int Id(const QWidget* widget) { return static_cast<int>(static_cast<qlonglong>(Read(widget, kId))); }
void SetId(QWidget* widget, int id) { widget->setProperty(kId, static_cast<qlonglong>(id)); }
DWORD Style(const QWidget* widget) { return static_cast<DWORD>(Read(widget, kStyle)); }
void SetStyle(QWidget* widget, DWORD style) { widget->setProperty(kStyle, qulonglong{style}); }
DWORD ExStyle(const QWidget* widget) { return static_cast<DWORD>(Read(widget, kExStyle)); }
void SetExStyle(QWidget* widget, DWORD exStyle) { widget->setProperty(kExStyle, qulonglong{exStyle}); }
int BorderWidth(const QWidget* widget) { return static_cast<int>(Read(widget, kBorder)); }
void SetBorderWidth(QWidget* widget, int width) { widget->setProperty(kBorder, static_cast<qulonglong>(width)); }

CWnd* BoundWindow(const QWidget* widget) {
  return reinterpret_cast<CWnd*>(static_cast<quintptr>(Read(widget, kBound)));
}

void SetBoundWindow(QWidget* widget, CWnd* wnd) {
  widget->setProperty(kBound, static_cast<qulonglong>(reinterpret_cast<quintptr>(wnd)));
}

void SetOrder(QWidget* widget, int order) { widget->setProperty(kOrder, order); }

std::vector<QWidget*> ChildrenInOrder(const QWidget* parent) {
  std::vector<QWidget*> children;
  if (!parent) return children;
  for (QObject* child : parent->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget && !widget->isWindow()) children.push_back(widget);
  }
  auto rank = [](const QWidget* w) {
    const QVariant order = w->property(kOrder);
    return order.isValid() ? order.toInt() : std::numeric_limits<int>::max();
  };
  std::stable_sort(children.begin(), children.end(),
                   [&rank](const QWidget* a, const QWidget* b) { return rank(a) < rank(b); });
  return children;
}

QWidget* ChildById(const QWidget* parent, int id) {
  for (QWidget* widget : ChildrenInOrder(parent))
    if (widget->property(kId).isValid() && Id(widget) == id) return widget;
  return nullptr;
}

}  // namespace window_props
