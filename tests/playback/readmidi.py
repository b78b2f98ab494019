#!/usr/bin/env python3
"""Reads a MIDI file with mido and prints what playback tests compare, one fact a line."""
import sys

import mido

midi = mido.MidiFile(sys.argv[1])
print("type", midi.type, "tracks", len(midi.tracks), "ticks", midi.ticks_per_beat)
for number, track in enumerate(midi.tracks):
    tick = 0
    started = {}
    for message in track:
        tick += message.time
        if message.type == "set_tempo":
            print("tempo", round(mido.tempo2bpm(message.tempo)), "track", number)
        elif message.type == "time_signature":
            print("time", message.numerator, message.denominator, "track", number)
        elif message.type == "key_signature":
            print("key", message.key, "track", number)
        elif message.type == "program_change":
            print("program", message.program, "channel", message.channel + 1)
        elif message.type == "note_on" and message.velocity > 0:
            started[(message.channel, message.note)] = (tick, message.velocity)
        elif message.type in ("note_off", "note_on"):
            start, velocity = started.pop((message.channel, message.note))
            print("note", message.note, "channel", message.channel + 1, "start", start,
                  "length", tick - start, "velocity", velocity, "track", number)
