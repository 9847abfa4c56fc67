#!/usr/bin/python3
"""Another Modbus RTU client, timed the way qmx-bench times ours, so one server can be driven by
both in the same session: pymodbus's serial client reading one holding register COUNT times.

    modbus_client_bench.py --device PATH [--address N] [--register HHHH] [--count N]
                           [--speed BAUD] [--parity even|odd|none] [--timeout MS (1000)]

Prints one JSON line with qmx-bench's leading fields: count, errors, median_ms, p99_ms, max_ms,
per_second, cpu_us_per_exchange. Run it with /usr/bin/python3 (Debian's pymodbus).
"""
import argparse
import json
import math
import resource
import sys
import time

from pymodbus.client import ModbusSerialClient
from pymodbus.transaction import ModbusRtuFramer


def cpu_us():
    r = resource.getrusage(resource.RUSAGE_SELF)
    return (r.ru_utime + r.ru_stime) * 1e6


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--device", required=True)
    ap.add_argument("--address", type=int, default=1)
    ap.add_argument("--register", default="0000")
    ap.add_argument("--count", type=int, default=100)
    ap.add_argument("--speed", type=int, default=9600)
    ap.add_argument("--parity", choices=["even", "odd", "none"], default="none")
    # This pymodbus version counted every read as failed with a 300 ms time-out (the reply came,
    # but after it had stopped waiting), so the default is one second.
    ap.add_argument("--timeout", type=int, default=1000)
    args = ap.parse_args()

    client = ModbusSerialClient(port=args.device, framer=ModbusRtuFramer, baudrate=args.speed,
                                bytesize=8, parity=args.parity[0].upper(), stopbits=1,
                                timeout=args.timeout / 1000)
    if not client.connect():
        print(f"modbus_client_bench: cannot open {args.device}", file=sys.stderr)
        return 2
    register = int(args.register, 16)
    trips = []
    errors = 0
    cpu0 = cpu_us()
    start = time.monotonic()
    for _ in range(args.count):
        t0 = time.monotonic()
        try:
            reply = client.read_holding_registers(register, 1, slave=args.address)
            failed = reply.isError()
        except Exception:  # a time-out or a broken frame: counted, the run goes on
            failed = True
        trips.append((time.monotonic() - t0) * 1000)
        errors += failed
    elapsed = time.monotonic() - start
    cpu = cpu_us() - cpu0
    client.close()

    trips.sort()
    n = len(trips)
    median = trips[n // 2] if n % 2 else (trips[n // 2 - 1] + trips[n // 2]) / 2
    print(json.dumps({
        "count": n,
        "errors": errors,
        "median_ms": round(median, 3),
        "p99_ms": round(trips[max(1, math.ceil(0.99 * n)) - 1], 3),
        "max_ms": round(trips[-1], 3),
        "per_second": round(n / elapsed, 1),
        "cpu_us_per_exchange": round(cpu / n, 1),
        "client": "pymodbus",
    }, separators=(",", ":")))
    return 0 if errors == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
