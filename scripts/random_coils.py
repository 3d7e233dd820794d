#!/usr/bin/env python3
"""Random catalogue coils for kvn-rate, one JSON object per line.

Usage: random_coils.py COUNT [SEED] > coils.jsonl

Each coil is a water, glycol, steam, evaporator or condenser coil of a
random face size and construction, with conditions a catalogue would list.
The same COUNT and SEED give the same coils.
"""
import json
import random
import sys


def coil(rng):
    kind = rng.choice("WGSEC")
    pattern = rng.choice(["1", "3", "4", "5", "6"])
    rows = rng.choice([1, 2, 3, 4, 6, 8]) if kind != "S" else rng.choice([1, 2])
    c = {
        "Application": kind,
        "Pattern": pattern,
        "TubeWall": rng.choice(["0.016", "0.02", "0.025", "0.035"]),
        "FinMat": rng.choice(["A", "C"]),
        "FinThk": rng.choice(["0.006", "0.0075", "0.010"]),
        "FPI": str(rng.randint(6, 14)),
        "RD": str(rows),
        "TH": str(rng.choice([8, 12, 16, 20, 24, 30, 36])),
        "FL": str(rng.choice(range(24, 145, 6))),
        "Altitude": str(rng.choice([0, 0, 1000, 5000])),
        "Acfm": str(rng.randint(8, 40) * 100),
    }
    if kind in "WG":
        c.update(Circuits=str(rng.choice([4, 8, 12, 16])), EatDb="80", EatWb="67",
                 EntFluidTemp=str(rng.randint(40, 48)), Gpm=str(rng.randint(8, 40)))
        if kind == "G":
            c["PercentGlycol"] = str(rng.choice([20, 30, 40]))
    elif kind == "S":
        c.update(Circuits="", EatDb=str(rng.choice([-20, 0, 40, 60])), SteamPressure=str(rng.choice([2, 5, 15])))
    elif kind == "E":
        c.update(Circuits=str(rng.choice([4, 8, 12])), EatDb="80", EatWb="67",
                 EntFluidTemp=str(rng.randint(35, 45)), Refrigerant=rng.choice(["22", "134A", "410A"]),
                 EvapSHCode="10")
    else:
        c.update(Circuits=str(rng.choice([4, 6, 8])), EatDb="95", EntFluidTemp=str(rng.randint(110, 125)),
                 Refrigerant=rng.choice(["22", "134A", "410A"]))
    return c


def main():
    count = int(sys.argv[1])
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 1)
    out = sys.stdout
    for _ in range(count):
        out.write(json.dumps(coil(rng), separators=(",", ":")) + "\n")


if __name__ == "__main__":
    main()
