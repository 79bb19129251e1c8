// chime: writes the suite's sound, a short two-note chime, as a WAV file
// (PCM, 22050 Hz, 16-bit, mono), the same bytes on every build.
//
//   chime OUT.wav
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// A struck note: a fundamental with two softer partials, a 5 ms attack and an
// exponential decay.
void addNote(std::vector<double>& samples, double start, double frequency, double length, double gain) {
    std::size_t first = static_cast<std::size_t>(start * kRate);
    std::size_t count = static_cast<std::size_t>(length * kRate);
    for (std::size_t i = 0; i < count && first + i < samples.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double envelope = std::min(1.0, t / 0.005) * std::exp(-t * 4.0);
        double tone = std::sin(2 * kPi * frequency * t) + 0.35 * std::sin(2 * kPi * frequency * 2 * t) * std::exp(-t * 3.0) +
                      0.15 * std::sin(2 * kPi * frequency * 3.01 * t) * std::exp(-t * 6.0);
        samples[first + i] += gain * envelope * tone;
    }
}

void put16(std::FILE* out, std::uint16_t value) {
    std::fputc(value & 0xFF, out);
    std::fputc(value >> 8, out);
}

void put32(std::FILE* out, std::uint32_t value) {
    put16(out, static_cast<std::uint16_t>(value));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: chime OUT.wav\n");
        return 1;
    }
    std::vector<double> samples(static_cast<std::size_t>(1.4 * kRate), 0.0);
    addNote(samples, 0.00, 1318.51, 1.2, 0.3);  // E6
    addNote(samples, 0.18, 1046.50, 1.2, 0.3);  // C6
    // A short fade at the very end, so that the sound stops without a click.
    for (std::size_t i = 0; i < 441; ++i) samples[samples.size() - 1 - i] *= static_cast<double>(i) / 441;

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::fputs("RIFF", out);
    put32(out, 36 + dataSize);
    std::fputs("WAVEfmt ", out);
    put32(out, 16);          // format chunk size
    put16(out, 1);           // PCM
    put16(out, 1);           // mono
    put32(out, kRate);
    put32(out, kRate * 2);   // bytes per second
    put16(out, 2);           // block align
    put16(out, 16);          // bits per sample
    std::fputs("data", out);
    put32(out, dataSize);
    for (double sample : samples) {
        double clipped = std::max(-1.0, std::min(1.0, sample));
        put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clipped * 32000))));
    }
    bool ok = std::fclose(out) == 0;
    return ok ? 0 : 1;
}
