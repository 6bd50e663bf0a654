#!/usr/bin/env python3
"""Turns the Natural Earth dump of natural_earth_dump.R into a map-writer source of land.

Land is every country polygon's outer ring, filled. Inner rings are left out: in the
1:50m countries every hole is an enclave or exclave that another country's ring fills.
All rings are written clockwise on the screen (y grows southwards), so a non-zero fill of
all of them together is the land even where two neighbours' rings overlap a little.

Usage: land_source.py DUMP.txt SOURCE.txt
"""
import sys

from world_source import MAP_DATE, read_dump

LAND_COLOUR = 22  # the map's palette index; the program's land style ignores it
FILLED = 129      # attribute bit 7: a filled polygon, brush 0


def signed_area(ring):
    pts = [(float(lon), float(lat)) for lon, lat in ring]
    return sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(pts, pts[1:] + pts[:1])) / 2


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    _coasts, rings = read_dump(sys.argv[1])
    with open(sys.argv[2], "w") as out:
        out.write("# World land, Natural Earth 1:50m countries (public domain)\n")
        out.write("magic APRS\nversion 1.00\nname World land (Natural Earth 1:50m)\n")
        out.write(f"header NatEarth\ndate {MAP_DATE}\nbox -180 180 90 -90\n")
        count = 0
        outer = [ring for _country, ring, hole in rings if not hole]
        for ring in outer:
            if len(ring) < 4:
                continue
            # Counter-clockwise in lon/lat is clockwise on the screen.
            if signed_area(ring) < 0:
                ring = ring[::-1]
            out.write(f"line {LAND_COLOUR} {FILLED}\n")
            out.writelines(f"{lon} {lat}\n" for lon, lat in ring)
            count += len(ring)
    print(f"{len(outer)} land rings, {count} points", file=sys.stderr)


if __name__ == "__main__":
    main()
