// The map view painting one frame of one screen (320 x 416 points) on the offscreen
// platform: the whole world (an image drawn once per zoom), a continent, a country, and a street's
// width (where the outlines are clipped to the view); a frame at a zoom seen before reuses its
// projected outlines. And the offline reverse geocoder's nearest-place search.
#include "platform/services/PlaceIndex.h"
#include "platform/ui/MapView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void paintFrames(benchmark::State& state, double zoom) {
    ui::MapView map({0, 0, 320, 416});
    map.setZoomLevel(zoom);
    map.setCenterCoordinate({48.8566, 2.3522}, false);
    QImage frame(map.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        map.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

void BM_MapFrameWorld(benchmark::State& state) {
    paintFrames(state, 0.5);
}
void BM_MapFrameContinent(benchmark::State& state) {
    paintFrames(state, 2.1);
}
void BM_MapFrameCountry(benchmark::State& state) {
    paintFrames(state, 6);
}
void BM_MapFrameStreet(benchmark::State& state) {
    paintFrames(state, 17);
}

void BM_ReverseGeocodeNearest(benchmark::State& state) {
    const services::PlaceIndex& places = services::PlaceIndex::shared();
    for (auto _ : state) {
        benchmark::DoNotOptimize(places.nearest({48.8566, 2.3522}));
    }
}

BENCHMARK(BM_MapFrameWorld)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFrameContinent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFrameCountry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFrameStreet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseGeocodeNearest)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("ORMEL_RESOURCE_DIR", ORMEL_BUNDLE_DIR, 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
