#!/usr/bin/env python3
"""Generate the temperature table KardunGD.dat that the program ships.

The controller reads its temperature sensors (vaporizer, gas, inside) on a
10-bit converter input, 0..1023 for 0..5 V.  Each sensor is a typical
automotive NTC thermistor wired to ground, fed from the 5 V reference through
a fixed pull-up resistor, so the converter count is ratiometric:

    raw = 1023 * R_ntc / (R_ntc + R_pullup)
    R_ntc = R_pullup * raw / (1023 - raw)

The thermistor follows the beta model

    R_ntc(T) = R25 * exp(B * (1/T - 1/T25)),    T in kelvin, T25 = 298.15 K
    T = 1 / (1/T25 + ln(R_ntc / R25) / B)

with the values chosen for this table:

    R25      = 2000 ohm   (resistance at 25 degrees Celsius)
    B        = 3600 K
    R_pullup = 1000 ohm

Usable range: -40.0 .. +150.0 degrees Celsius.  Counts beyond that range
(a shorted sensor near 0, an open sensor near 1023) hold the range limit.
Some reference points of the curve:

    raw   55 -> +149.7 C          raw  512 ->  +43.1 C
    raw  200 ->  +88.1 C          raw  800 ->  +11.2 C
    raw  350 ->  +62.4 C          raw 1005 ->  -39.4 C

File layout: 1024 records, no header; record i is the temperature for raw
count i, a signed 16-bit little-endian value in tenths of a degree Celsius
(rounded to the nearest tenth).  The table falls monotonically with the count.

Usage: make_temperature_table.py [output path]   (default: resources/KardunGD.dat
beside this script's folder)
"""

import math
import os
import struct
import sys

R25 = 2000.0
BETA = 3600.0
R_PULLUP = 1000.0
T25 = 298.15
FULL_SCALE = 1023
RECORDS = 1024
T_MIN_TENTHS = -400
T_MAX_TENTHS = 1500


def temperature_tenths(raw):
    """Temperature in tenths of a degree for one converter count, clamped."""
    if raw <= 0:
        return T_MAX_TENTHS
    if raw >= FULL_SCALE:
        return T_MIN_TENTHS
    r_ntc = R_PULLUP * raw / (FULL_SCALE - raw)
    kelvin = 1.0 / (1.0 / T25 + math.log(r_ntc / R25) / BETA)
    tenths = int(math.floor((kelvin - 273.15) * 10.0 + 0.5))
    return max(T_MIN_TENTHS, min(T_MAX_TENTHS, tenths))


def build_table():
    return [temperature_tenths(raw) for raw in range(RECORDS)]


def main(argv):
    if len(argv) > 1:
        out_path = argv[1]
    else:
        here = os.path.dirname(os.path.abspath(__file__))
        out_path = os.path.join(here, os.pardir, "resources", "KardunGD.dat")
    table = build_table()
    for a, b in zip(table, table[1:]):
        if b > a:
            raise SystemExit("table is not monotonic")
    data = b"".join(struct.pack("<h", value) for value in table)
    tmp_path = out_path + ".tmp"
    with open(tmp_path, "wb") as f:
        f.write(data)
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp_path, out_path)
    print("wrote %d records to %s" % (len(table), os.path.normpath(out_path)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
