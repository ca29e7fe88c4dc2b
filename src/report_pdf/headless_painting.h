// Painting text needs Qt's font database, which comes with a
// QGuiApplication. A program without one (loadcalc-cli) holds this while it
// paints: it makes one on the offscreen platform, so no display is needed.
// Where an application object exists already, it does nothing.
#pragma once

#include <QtGlobal>
#include <memory>

class QGuiApplication;

namespace report_pdf {

class HeadlessPainting {
 public:
  HeadlessPainting();
  ~HeadlessPainting();
  HeadlessPainting(const HeadlessPainting&) = delete;
  HeadlessPainting& operator=(const HeadlessPainting&) = delete;

 private:
  std::unique_ptr<QGuiApplication> m_application;
  QtMessageHandler m_previousHandler = nullptr;
};

}  // namespace report_pdf
