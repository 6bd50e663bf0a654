#!/usr/bin/env python3
"""Turns the Natural Earth dump of natural_earth_dump.R into a map-writer source file.

Coastlines are taken as they are. Country borders are the edges that two countries'
polygons share (Natural Earth's countries meet on common vertices), chained into polylines;
edges on one country only are coasts, already drawn from the coastline set.

Usage: world_source.py DUMP.txt SOURCE.txt
"""
import datetime
import sys

COAST_COLOUR = 1    # dark blue
BORDER_COLOUR = 20  # grey
# Seconds since 1904-01-01 for the date stored in the map: fixed, so the file is reproducible.
MAP_DATE = (datetime.date(2026, 1, 1) - datetime.date(1904, 1, 1)).days * 86400


def read_dump(path):
    coasts, rings = [], []
    current = None
    with open(path) as f:
        for line in f:
            line = line.strip()
            if not line:
                continue
            if line == "C":
                current = []
                coasts.append(current)
            elif line.startswith("P "):
                _, country, hole = line.split()
                current = []
                rings.append((country, current, hole == "1"))
            else:
                lon, lat = line.split()
                current.append((lon, lat))  # kept as text: exact keys for shared vertices
    return coasts, rings


def border_polylines(rings):
    owners = {}
    for country, ring, _hole in rings:
        for a, b in zip(ring, ring[1:]):
            if a == b:
                continue
            owners.setdefault(frozenset((a, b)), set()).add(country)
    edges = [tuple(sorted(e)) for e, who in owners.items() if len(who) >= 2]
    edges.sort()
    neighbours = {}
    for a, b in edges:
        neighbours.setdefault(a, []).append(b)
        neighbours.setdefault(b, []).append(a)
    used = set()

    def walk(start, nxt):
        line = [start]
        cur = start
        while True:
            used.add(frozenset((cur, nxt)))
            line.append(nxt)
            cur = nxt
            if len(neighbours[cur]) != 2:
                return line
            following = [n for n in neighbours[cur] if frozenset((cur, n)) not in used]
            if not following:
                return line
            nxt = following[0]

    lines = []
    # Open chains start at their ends or junctions, closed loops anywhere.
    for node in sorted(neighbours, key=lambda n: len(neighbours[n]) == 2):
        for n in neighbours[node]:
            if frozenset((node, n)) not in used:
                lines.append(walk(node, n))
    return lines


def split_at_antimeridian(line):
    """No segment may jump across the map: break where longitude leaps by over 180."""
    parts, current = [], [line[0]]
    for a, b in zip(line, line[1:]):
        if abs(float(a[0]) - float(b[0])) > 180:
            parts.append(current)
            current = []
        current.append(b)
    parts.append(current)
    return [p for p in parts if len(p) >= 2]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    coasts, rings = read_dump(sys.argv[1])
    borders = border_polylines(rings)
    with open(sys.argv[2], "w") as out:
        out.write("# World coastlines and country borders, Natural Earth 1:50m (public domain)\n")
        out.write("magic APRS\nversion 1.00\nname World (Natural Earth 1:50m)\nheader NatEarth\n")
        out.write(f"date {MAP_DATE}\nbox -180 180 90 -90\n")
        count = 0
        for colour, lines in ((COAST_COLOUR, coasts), (BORDER_COLOUR, borders)):
            for line in lines:
                for part in split_at_antimeridian(line):
                    out.write(f"line {colour} 0\n")
                    out.writelines(f"{lon} {lat}\n" for lon, lat in part)
                    count += len(part)
    print(f"{len(coasts)} coastlines, {len(borders)} border lines, {count} points",
          file=sys.stderr)


if __name__ == "__main__":
    main()
