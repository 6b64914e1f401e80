// kettrik-render: renders sound files to WAV from the command line, for batch export,
// scripting and tests. Exit status: 0 done, 1 a file could not be read or written, 2 usage.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/render.h"
#include "engine/wav_reader.h"
#include "engine/wav_writer.h"
#include "model/number_text.h"
#include "model/profile_file.h"
#include "model/sound_file.h"

namespace fs = std::filesystem;
using namespace kettrik;

namespace {

constexpr std::string_view Usage =
    "usage: kettrik-render [--rate N] [--normalize] [--save SOUND] [--dump] IN.ktu [OUT.wav]\n"
    "       kettrik-render [--rate N] [--normalize] -o DIR IN.ktu...\n"
    "\n"
    "  --rate N      render at N Hz (sets the sound's sample frequency)\n"
    "  --normalize   scale the On generators so the loudest sample reaches full scale\n"
    "  --save SOUND  write the sound, as modified, to SOUND\n"
    "  --dump        print the sound, as loaded and modified, as JSON on standard output\n"
    "  -o DIR        render every IN to DIR/<name>.wav\n";

struct Options {
    std::int32_t Rate = 0; // 0: as stored
    bool Normalize = false;
    bool Dump = false;
    std::string SavePath;
    std::string OutputDir;
    std::vector<std::string> Inputs;
    std::string OutputWav;
};

int UsageError(std::string_view message) {
    std::fprintf(stderr, "kettrik-render: %.*s\n%.*s", static_cast<int>(message.size()),
                 message.data(), static_cast<int>(Usage.size()), Usage.data());
    return 2;
}

bool ParseRate(std::string_view text, std::int32_t& rate) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rate);
    return error == std::errc() && end == text.data() + text.size() && rate >= 1000 &&
           rate <= 768000;
}

// Returns 0 when the options are complete, else the exit status to end with.
int ParseOptions(int argc, char** argv, Options& options) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--rate") {
            if (!hasValue || !ParseRate(argv[++i], options.Rate)) {
                return UsageError("--rate needs a whole number of Hz from 1000 to 768000");
            }
        } else if (arg == "--normalize") {
            options.Normalize = true;
        } else if (arg == "--dump") {
            options.Dump = true;
        } else if (arg == "--save") {
            if (!hasValue) {
                return UsageError("--save needs a file name");
            }
            options.SavePath = argv[++i];
        } else if (arg == "-o") {
            if (!hasValue) {
                return UsageError("-o needs a folder");
            }
            options.OutputDir = argv[++i];
        } else if (arg == "-h" || arg == "--help") {
            std::fputs(Usage.data(), stdout);
            return -1;
        } else if (arg == "--") {
            for (++i; i < argc; ++i) {
                positional.emplace_back(argv[i]);
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option " + std::string(arg));
        } else {
            positional.emplace_back(arg);
        }
    }
    if (positional.empty()) {
        return UsageError("no sound file given");
    }
    if (!options.OutputDir.empty()) {
        if (!options.SavePath.empty() || options.Dump) {
            return UsageError("--save and --dump take a single sound, not -o");
        }
        options.Inputs = positional;
        return 0;
    }
    if (positional.size() > 2) {
        return UsageError("too many files; use -o DIR to render several");
    }
    options.Inputs.push_back(positional[0]);
    if (positional.size() == 2) {
        options.OutputWav = positional[1];
    }
    if (options.OutputWav.empty() && options.SavePath.empty() && !options.Dump) {
        return UsageError("nothing to do: give OUT.wav, --save or --dump");
    }
    return 0;
}

std::string Number(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void DumpSound(const Sound& sound) {
    std::string out = "{\n  \"SampleFrequency\": " + std::to_string(sound.SampleFrequency) +
                      ",\n  \"Count\": " + std::to_string(sound.Count) + ",\n  \"Oscillators\": [";
    for (int i = 0; i < ClampCount(sound.Count); ++i) {
        const Oscillator& o = sound.Oscillators[i];
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"Enabled\": " + std::to_string(o.Enabled) +
               ", \"Filter\": " + std::to_string(o.Filter) +
               ", \"WaveForm\": " + std::to_string(o.WaveForm) +
               ", \"WavFile\": " + JsonString(GetText(o.WavFile)) +
               ", \"Comment\": " + JsonString(GetText(o.Comment)) +
               ", \"LoopWav\": " + std::to_string(o.LoopWav) + ", \"StartF\": " + Number(o.StartF) +
               ", \"EndF\": " + Number(o.EndF) + ", \"StartA\": " + Number(o.StartA) +
               ", \"EndA\": " + Number(o.EndA) + ", \"StartT\": " + Number(o.StartT) +
               ", \"EndT\": " + Number(o.EndT) + ", \"AMModFac\": " + Number(o.AMModFac) +
               ", \"AMModBy\": " + std::to_string(o.AMModBy) +
               ", \"FMModFac\": " + Number(o.FMModFac) +
               ", \"FMModBy\": " + std::to_string(o.FMModBy) +
               ", \"CurveShape0\": " + Number(o.CurveShape0) +
               ", \"CurveShape1\": " + Number(o.CurveShape1) +
               ", \"CurveShape2\": " + Number(o.CurveShape2) +
               ", \"NoiseBW\": " + Number(o.NoiseBW) +
               ", \"NoiseChangeRate\": " + std::to_string(o.NoiseChangeRate) + "}";
    }
    out += "\n  ]\n}\n";
    std::fputs(out.c_str(), stdout);
}

// A WAV-file oscillator's relative path is looked up where the program runs; when nothing is
// there, beside the sound file, so a folder of sounds and their samples renders from anywhere.
void ResolveWavPaths(Sound& sound, const fs::path& soundFolder) {
    for (int i = 0; i < ClampCount(sound.Count); ++i) {
        Oscillator& o = sound.Oscillators[i];
        const fs::path wav(std::string(GetText(o.WavFile)));
        std::error_code error;
        if (o.WaveForm != WavFileWave || wav.empty() || wav.is_absolute() ||
            fs::exists(wav, error)) {
            continue;
        }
        const fs::path beside = soundFolder / wav;
        if (fs::exists(beside, error)) {
            SetText(o.WavFile, beside.string());
        }
    }
}

void Normalize(Sound& sound, Sound& renderCopy) {
    const double peak =
        RenderPeak(renderCopy.Oscillators, renderCopy.Count, renderCopy.SampleFrequency);
    if (!(peak > 0.0) || !std::isfinite(peak)) {
        return;
    }
    for (Sound* target : {&sound, &renderCopy}) {
        for (int i = 0; i < ClampCount(target->Count); ++i) {
            Oscillator& o = target->Oscillators[i];
            if (o.Enabled == On && o.Filter == 0) {
                o.StartA /= peak;
                o.EndA /= peak;
            }
        }
    }
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error);
}

// Renders one input as asked; false when something could not be read or written.
bool Process(const Options& options, const std::string& input, const std::string& outputWav,
             FILE* report) {
    ProfileDocument probe;
    if (ReadProfileFile(input, probe) != ProfileReadResult::Read) {
        std::fprintf(stderr, "kettrik-render: cannot read sound file %s\n", input.c_str());
        return false;
    }
    auto sound = std::make_unique<Sound>();
    LoadSound(input, *sound);
    if (options.Rate != 0) {
        sound->SampleFrequency = options.Rate;
    }
    auto renderCopy = std::make_unique<Sound>(*sound);
    ResolveWavPaths(*renderCopy, fs::path(input).parent_path());
    if (options.Normalize) {
        Normalize(*sound, *renderCopy);
    }
    bool ok = true;
    if (!options.SavePath.empty() && !SaveSound(options.SavePath, *sound)) {
        std::fprintf(stderr, "kettrik-render: cannot write sound file %s\n",
                     options.SavePath.c_str());
        ok = false;
    }
    if (!outputWav.empty()) {
        if (SameFile(outputWav, input)) {
            std::fprintf(stderr, "kettrik-render: refusing to overwrite the input %s\n",
                         input.c_str());
            return false;
        }
        const RenderOutcome outcome = RenderToWav(outputWav, renderCopy->Oscillators,
                                                  renderCopy->SampleFrequency, renderCopy->Count);
        if (!outcome.Written) {
            std::fprintf(stderr, "kettrik-render: cannot write %s\n", outputWav.c_str());
            ok = false;
        } else {
            std::fprintf(report, "%s: %d samples, peak %s\n", outputWav.c_str(), outcome.Samples,
                         FormatFixed6(outcome.Peak).c_str());
        }
    }
    if (options.Dump) {
        DumpSound(*sound);
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int status = ParseOptions(argc, argv, options); status != 0) {
        return status < 0 ? 0 : status;
    }
    SetWavMessageHandler([](std::string_view text, std::string_view title) {
        std::fprintf(stderr, "kettrik-render: %.*s: %.*s\n", static_cast<int>(title.size()),
                     title.data(), static_cast<int>(text.size()), text.data());
    });
    // With --dump, standard output carries only the JSON.
    FILE* report = options.Dump ? stderr : stdout;
    bool ok = true;
    if (!options.OutputDir.empty()) {
        std::error_code error;
        fs::create_directories(options.OutputDir, error);
        for (const std::string& input : options.Inputs) {
            const fs::path out = fs::path(options.OutputDir) / fs::path(input).stem();
            ok = Process(options, input, out.string() + ".wav", report) && ok;
        }
    } else {
        ok = Process(options, options.Inputs[0], options.OutputWav, report);
    }
    return ok ? 0 : 1;
}
