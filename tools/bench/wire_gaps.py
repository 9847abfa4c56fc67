#!/usr/bin/python3
"""Gaps on the wire as qmx-sim saw them: from each reply's last byte (its "tx" entry) to the first
byte of the next request (the next "rx" entry) on one port, against the Modbus RTU silent interval
of 3.5 characters. Prints one JSON line. Not a test: a figure for docs/performance.md.

    wire_gaps.py --log WIRE.LOG --port COM1 [--speed 9600] [--bits 10] [--skip 1]
"""
import argparse
import json
import statistics


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--log", required=True)
    p.add_argument("--port", required=True)
    p.add_argument("--speed", type=int, default=9600)
    p.add_argument("--bits", type=int, default=10, help="bits a character takes on the line")
    p.add_argument("--skip", type=int, default=1, help="gaps left out at the start (warm-up)")
    a = p.parse_args()

    gaps = []
    reply_end = None
    with open(a.log) as f:
        for line in f:
            e = json.loads(line)
            if e.get("port") != a.port or "dir" not in e:
                continue
            if e["dir"] == "tx":
                reply_end = e["t"]
            elif e["dir"] == "rx" and reply_end is not None:
                gaps.append((e["t"] - reply_end) * 1000.0)
                reply_end = None
    gaps = sorted(gaps[a.skip:])
    if not gaps:
        raise SystemExit("no reply followed by a request on " + a.port)
    t35 = 3.5 * a.bits * 1000.0 / a.speed
    median = statistics.median(gaps)
    print(json.dumps({
        "gaps": len(gaps),
        "t35_ms": round(t35, 3),
        "min_ms": round(gaps[0], 3),
        "median_ms": round(median, 3),
        "p90_ms": round(gaps[int(0.9 * (len(gaps) - 1))], 3),
        "max_ms": round(gaps[-1], 3),
        "median_over_t35_ms": round(median - t35, 3),
        "shorter_than_t35": sum(1 for g in gaps if g < t35),
    }))


if __name__ == "__main__":
    main()
