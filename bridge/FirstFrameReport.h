#pragma once

class QQuickWidget;

// For start-up measurements: with Q3_REPORT_FIRST_FRAME set in the
// environment, writes one line "first_frame_epoch_us=<microseconds since the
// epoch>" to standard error when the view has first drawn its scene with the
// root item visible. Does nothing otherwise.
namespace FirstFrameReport {

void watch(QQuickWidget* view);

}
