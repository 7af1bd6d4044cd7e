// The canvas a page is recorded on: what is drawn becomes enhanced-metafile
// records, and releasing the canvas installs the finished recording in its
// metafile. The frame comes from the metafile's frame, else its pixel size
// through the reference device, else the whole reference device.
#pragma once

#include <memory>

#include "graphics/canvas.h"
#include "graphics/platform/emf/emf_recorder.h"

namespace vx {

namespace gdi {
class TDeviceContext;
}

class TMetafile;

class TMetafileCanvas : public TCanvas {
public:
  // reference gives the device the recording is made for; none is the screen.
  explicit TMetafileCanvas(TMetafile& metafile, const gdi::TDeviceContext* reference = nullptr);
  // Releases the recording when Release() was not called; errors are dropped.
  ~TMetafileCanvas() override;

  // Recording has no device context to hand out: EInvalidOperation.
  gdi::TDeviceContext& DeviceContext() override;
  gdi::DrawingBackend& Backend() override;

  // Finishes the recording and installs it in the metafile ("Metafile is not
  // valid" when the platform would not take it). Drawing afterwards raises
  // EInvalidOperation "Canvas does not allow drawing".
  void Release();
  bool Released() const { return recorder_ == nullptr; }

  // The frame and description the recording was started with (0.01 mm).
  const gdi::Rect& Frame() const { return frame_; }
  const std::u16string& Description() const { return description_; }

private:
  TMetafile& metafile_;
  gdi::Rect frame_;
  std::u16string description_;
  std::unique_ptr<gdi::EmfRecorder> recorder_;
};

}  // namespace vx
