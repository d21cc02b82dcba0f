#pragma once
// A stand-in viewer kept running until the test lets it go: started with
// VDL_VIEWER_HOLD set to ReleaseFile(), the viewer waits for that file to
// appear. The hold lets its viewer go when it goes, however the test ends,
// and waits for the viewer's end, so that the viewer's folder can be removed.
#include <string>
#include <utility>

namespace testing_support {

class ViewerHold {
 public:
  // log: the viewer's VDL_VIEWER_LOG, where it writes "Viewer end".
  ViewerHold(std::string releaseFile, std::string log)
      : releaseFile_(std::move(releaseFile)), log_(std::move(log)) {}
  ~ViewerHold();
  ViewerHold(const ViewerHold&) = delete;
  ViewerHold& operator=(const ViewerHold&) = delete;

  const std::string& ReleaseFile() const { return releaseFile_; }
  bool Release();

 private:
  std::string releaseFile_;
  std::string log_;
};

}  // namespace testing_support
