#include "platform/ui/window_props.h"

#include <QVariant>
#include <QWidget>

namespace window_props {
namespace {

constexpr const char* kId = "loadcalc.id";
constexpr const char* kStyle = "loadcalc.style";
constexpr const char* kExStyle = "loadcalc.exStyle";
constexpr const char* kBorder = "loadcalc.border";
constexpr const char* kBound = "loadcalc.wnd";

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

QWidget* ChildById(const QWidget* parent, int id) {
  if (!parent) return nullptr;
  for (QObject* child : parent->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget && !widget->isWindow() && widget->property(kId).isValid() && Id(widget) == id)
      return widget;
  }
  return nullptr;
}

}  // namespace window_props
