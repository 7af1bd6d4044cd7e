// The platform printer's print job as the recording cycle drives it when the
// pages of a document go straight to the printer: the job starts with its
// first page, each further page ends the one before, and the job ends or is
// aborted. Printing itself lies outside this system; tests bind their own.
#pragma once

namespace vx {

class TCanvas;

class TPrintJob {
public:
  virtual ~TPrintJob() = default;
  virtual bool Printing() const = 0;
  // Starts the job and its first page.
  virtual void BeginDoc() = 0;
  // Ends the printed page and starts the next.
  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;
  virtual void Abort() = 0;
  // What the page being printed is drawn on.
  virtual TCanvas& Canvas() = 0;
};

}  // namespace vx
