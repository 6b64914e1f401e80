#!/usr/bin/env python3
"""Writes the example sound library and its sample WAV.

The sounds are plain data; this script is how they were made and how to change them. Run it
from anywhere: it writes next to itself. Keys missing from an oscillator below take the value
of a freshly inserted oscillator, so every file states all of its keys.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

NEW = dict(Enabled=1, Filter=0, WaveForm=0, WavFile="", Comment="", LoopWav=0,
           StartF=2000.0, EndF=0.0, StartA=0.95, EndA=0.0, StartT=0.0, EndT=200.0,
           AMModFac=0.0, AMModBy=-1, FMModFac=0.0, FMModBy=-1,
           CurveShape0=0.1, CurveShape1=8.0, CurveShape2=1.0, NoiseBW=0.0, NoiseChangeRate=0)
ORDER = list(NEW)

SINE, SAW, SQUARE, TRIANGLE, WAVFILE = range(5)


def osc(**values):
    o = dict(NEW)
    o.update(values)
    return o


def write_sound(name, oscillators, rate=44100):
    lines = ["[Common]", "SampleFrequency=%d" % rate, "Oscillators=%d" % (len(oscillators) - 1)]
    for i, o in enumerate(oscillators):
        lines.append("[Oscillator %d]" % i)
        for key in ORDER:
            v = o[key]
            lines.append("%s=%s" % (key, ("%f" % v) if isinstance(v, float) else v))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


def write_knock():
    """A short wooden knock: two damped partials with a noisy start, 16-bit mono 22050 Hz."""
    rate, n = 22050, 2205
    seed = 12345
    frames = []
    for i in range(n):
        t = i / rate
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise = (seed / 0x7FFFFFFF * 2 - 1) * math.exp(-t * 400)
        v = 0.6 * math.sin(2 * math.pi * 420 * t) * math.exp(-t * 30)
        v += 0.3 * math.sin(2 * math.pi * 1130 * t) * math.exp(-t * 60) + 0.3 * noise
        frames.append(int(max(-1.0, min(1.0, v)) * 32000))
    data = struct.pack("<%dh" % n, *frames)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " + struct.pack(
        "<IHHIIHH", 16, 1, 1, rate, rate * 2, 2, 16) + b"data" + struct.pack("<I", len(data))
    with open(os.path.join(HERE, "samples", "knock.wav"), "wb") as f:
        f.write(header + data)


def main():
    write_sound("kick.ktu", [
        osc(Comment="Kick: a falling sine body with a short click on top",
            StartF=160.0, EndF=42.0, CurveShape0=0.35, StartA=1.0, CurveShape1=0.6, EndT=380.0),
        osc(StartF=3200.0, EndF=400.0, CurveShape0=0.5, StartA=0.35, CurveShape1=0.5, EndT=9.0),
    ])
    # Oscillator 0 ends exactly where 1 starts, at the same pitch and level: the two form one
    # linked envelope, and the sine runs on without a jump.
    write_sound("kick_linked.ktu", [
        osc(Comment="Deep kick: one envelope over two linked oscillators, fast pitch drop then a long tail",
            StartF=320.0, EndF=95.0, CurveShape0=0.5, StartA=1.0, EndA=0.85, CurveShape1=1.0,
            EndT=30.0),
        osc(StartT=30.0, EndT=520.0, StartF=95.0, EndF=38.0, CurveShape0=0.6, StartA=0.85,
            EndA=0.0, CurveShape1=0.7),
    ])
    write_sound("snare.ktu", [
        osc(Comment="Snare: a tuned body under a noisy sawtooth for the wires",
            StartF=210.0, EndF=160.0, CurveShape0=0.5, StartA=0.6, CurveShape1=0.4, EndT=120.0),
        osc(WaveForm=SAW, StartF=5200.0, EndF=3800.0, CurveShape0=1.0, StartA=0.45,
            CurveShape1=0.45, EndT=230.0, NoiseBW=0.95, NoiseChangeRate=1),
    ])
    write_sound("hat_closed.ktu", [
        osc(Comment="Closed hat: a very noisy square, short",
            WaveForm=SQUARE, StartF=7800.0, EndF=7000.0, CurveShape0=1.0, StartA=0.35,
            CurveShape1=0.35, EndT=55.0, NoiseBW=1.0, NoiseChangeRate=0),
    ])
    write_sound("hat_open.ktu", [
        osc(Comment="Open hat: the closed hat's noise, ringing longer",
            WaveForm=SQUARE, StartF=7800.0, EndF=6500.0, CurveShape0=1.0, StartA=0.3,
            CurveShape1=0.5, EndT=420.0, NoiseBW=1.0, NoiseChangeRate=0),
        osc(WaveForm=SQUARE, StartF=10400.0, EndF=9800.0, CurveShape0=1.0, StartA=0.12,
            CurveShape1=0.5, EndT=300.0, NoiseBW=0.8, NoiseChangeRate=2),
    ])
    clap = [osc(Comment="Clap: three quick noise bursts and a tail, through a low-pass filter",
                WaveForm=SAW, StartF=2400.0, EndF=2000.0, CurveShape0=1.0, StartA=0.6,
                CurveShape1=0.5, StartT=0.0, EndT=9.0, NoiseBW=1.0, NoiseChangeRate=0)]
    for start in (11.0, 22.0):
        clap.append(osc(WaveForm=SAW, StartF=2400.0, EndF=2000.0, CurveShape0=1.0, StartA=0.6,
                        CurveShape1=0.5, StartT=start, EndT=start + 9.0, NoiseBW=1.0))
    clap.append(osc(WaveForm=SAW, StartF=2400.0, EndF=1800.0, CurveShape0=1.0, StartA=0.6,
                    CurveShape1=0.3, StartT=33.0, EndT=260.0, NoiseBW=1.0))
    clap.append(osc(Filter=1, StartF=5000.0, EndF=2500.0, CurveShape0=1.0, StartA=0.2, EndA=0.2,
                    CurveShape1=1.0, EndT=260.0))
    write_sound("clap.ktu", clap)
    write_sound("tom_low.ktu", [
        osc(Comment="Low tom: a sine with a little pitch noise and a triangle overtone",
            StartF=130.0, EndF=82.0, CurveShape0=0.4, StartA=0.9, CurveShape1=0.7, EndT=450.0,
            NoiseBW=0.02, NoiseChangeRate=0),
        osc(WaveForm=TRIANGLE, StartF=260.0, EndF=170.0, CurveShape0=0.4, StartA=0.2,
            CurveShape1=0.4, EndT=120.0),
    ])
    write_sound("tom_high.ktu", [
        osc(Comment="High tom: the low tom's recipe, tuned up and shorter",
            StartF=240.0, EndF=165.0, CurveShape0=0.4, StartA=0.9, CurveShape1=0.7, EndT=320.0,
            NoiseBW=0.02, NoiseChangeRate=0),
        osc(WaveForm=TRIANGLE, StartF=480.0, EndF=330.0, CurveShape0=0.4, StartA=0.2,
            CurveShape1=0.4, EndT=90.0),
    ])
    write_sound("rimshot.ktu", [
        osc(Comment="Rimshot: a narrow pulse crack over a short knock",
            WaveForm=SQUARE, CurveShape2=3.0, StartF=1750.0, EndF=1600.0, CurveShape0=1.0,
            StartA=0.5, CurveShape1=0.3, EndT=28.0),
        osc(StartF=480.0, EndF=420.0, CurveShape0=1.0, StartA=0.6, CurveShape1=0.5, EndT=60.0),
    ])
    write_sound("cowbell.ktu", [
        osc(Comment="Cowbell: two detuned squares through a resonant low-pass",
            WaveForm=SQUARE, StartF=540.0, EndF=540.0, CurveShape0=1.0, StartA=0.4,
            CurveShape1=0.6, EndT=320.0),
        osc(WaveForm=SQUARE, StartF=800.0, EndF=800.0, CurveShape0=1.0, StartA=0.4,
            CurveShape1=0.6, EndT=320.0),
        osc(Filter=1, StartF=3200.0, EndF=1400.0, CurveShape0=0.5, StartA=0.55, EndA=0.35,
            CurveShape1=1.0, EndT=320.0),
    ])
    write_sound("zap.ktu", [
        osc(Comment="Zap: a plunging sine, frequency-modulated by an inaudible partner",
            StartF=5000.0, EndF=60.0, CurveShape0=0.08, StartA=0.8, CurveShape1=1.5, EndT=180.0,
            FMModBy=1, FMModFac=0.6),
        osc(Enabled=2, StartF=1300.0, EndF=30.0, CurveShape0=0.1, StartA=1.0, EndA=1.0,
            CurveShape1=1.0, EndT=180.0),
    ])
    write_sound("noise_sweep.ktu", [
        osc(Comment="Riser: noise through a low-pass filter sweeping up with rising resonance",
            WaveForm=SAW, StartF=3000.0, EndF=3000.0, CurveShape0=1.0, StartA=0.7, EndA=0.7,
            CurveShape1=1.0, EndT=900.0, NoiseBW=1.0, NoiseChangeRate=0),
        osc(Filter=1, StartF=150.0, EndF=9000.0, CurveShape0=2.0, StartA=0.3, EndA=0.85,
            CurveShape1=1.0, EndT=900.0),
    ])
    write_sound("sample_knock.ktu", [
        osc(Comment="Sampled knock: a WAV file played at its own rate, with a sine sub under it",
            WaveForm=WAVFILE, WavFile="samples/knock.wav", StartF=22050.0, EndF=22050.0,
            CurveShape0=1.0, StartA=0.9, EndA=0.9, CurveShape1=1.0, EndT=100.0),
        osc(StartF=90.0, EndF=60.0, CurveShape0=0.5, StartA=0.4, CurveShape1=0.6, EndT=150.0),
    ])
    write_knock()


if __name__ == "__main__":
    main()
