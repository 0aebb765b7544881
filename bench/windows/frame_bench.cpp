// Time of composing a skinned frame: a full recomposition and the title-cache
// fast path of a 1920 x 1080 sizeable form with a main menu in the internal
// skin, beside a memcpy of the same pixels. Medians of several repetitions,
// timed with the performance counter; one line per measure and the ratios.
#include <windows.h>

#include "framework/Forms.h"
#include "skin/sSkinProvider.h"

#include "../../tests/windows/SkinTestForm.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using namespace kestu;

double MedianMs(int repetitions, const std::function<void()>& work) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  work();  // warm caches and lazily created objects
  for (int i = 0; i < repetitions; ++i) {
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    times.push_back(double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  EnsureSkinClasses();
  auto* form = CreateFormFromResource<TSkinTestForm>(Application);
  form->SetBorderStyle(bsSizeable);
  auto* menu = new TMainMenu(form);
  for (const wchar_t* caption : {L"&File", L"&Edit", L"&View", L"&Window", L"&Help"}) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  form->SetMenu(menu);
  auto* provider = new TsSkinProvider(form);
  provider->Loaded();
  form->Show();
  form->SetBounds(0, 0, 1920, 1080);
  Application->ProcessMessages();
  if (form->Width() != 1920 || form->Height() != 1080 || !provider->SkinActive()) {
    std::printf("frame_bench: the form is %dx%d (skin %s); run on a display of at least 1920x1080\n", form->Width(),
                form->Height(), provider->SkinActive() ? "active" : "inactive");
    return 1;
  }
  const int reps = 25;
  const double full = MedianMs(reps, [&] {
    provider->InvalidateFrame(true);
    provider->BuildFrame();
  });
  const double fast = MedianMs(reps, [&] {
    provider->InvalidateFrame();
    provider->BuildFrame();
  });
  PixelRows frame = provider->FrameBitmap()->Rows();
  const std::size_t bytes = std::size_t(frame.stride) * std::size_t(frame.height);
  std::vector<std::uint8_t> copy(bytes);
  const double copyMs = MedianMs(reps, [&] { std::memcpy(copy.data(), frame.bits, bytes); });
  std::printf("frame 1920x1080 sizeable, main menu, internal skin; median of %d\n", reps);
  std::printf("full_ms=%.3f fast_ms=%.3f memcpy_ms=%.3f full_ratio=%.2f fast_ratio=%.2f\n", full, fast, copyMs,
              full / copyMs, fast / copyMs);
  std::printf("compositions full=%d fast=%d\n", provider->FullCompositions(), provider->FastCompositions());
  delete form;
  return 0;
}
