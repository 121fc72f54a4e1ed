#pragma once

#include <QImage>
#include <QString>

namespace quillon::testing {

// The clips written by make-clips.sh at build time.
QString clipPath(const char* name);

// Frames per second and length of frames.avi.
inline constexpr int kClipFramesPerSecond = 25;
inline constexpr int kClipFrameCount = 50;
inline constexpr int kClipFrameMs = 1000 / kClipFramesPerSecond;

// Which frame of frames.avi an image shows, read from its grey level at the centre
// (frame N has video luma 16 + 4 N, i.e. grey (4 N) * 255 / 219); -1 for no image.
int clipFrameShown(const QImage& image);
int clipFrameOfGrey(int grey);

}  // namespace quillon::testing
