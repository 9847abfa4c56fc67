#!/usr/bin/python3
"""An independent Modbus slave for the link tests: pymodbus serving holding registers on a serial
device (one end of a socat pty pair), in Modbus ASCII or RTU.

    modbus_peer.py --port PATH --framer ascii|rtu [--unit N] [--size N]

Holding registers 0..size-1 hold 0x0100 + address (so 0x0080 reads 0x0180); any address from size
on is out of range and is answered with exception 02. Prints READY once the port is open.
"""
import argparse
import asyncio
import sys

from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server import StartAsyncSerialServer
from pymodbus.transaction import ModbusAsciiFramer, ModbusRtuFramer


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--port", required=True)
    ap.add_argument("--framer", choices=["ascii", "rtu"], required=True)
    ap.add_argument("--unit", type=int, default=1)
    ap.add_argument("--size", type=int, default=0x100)
    ap.add_argument("--baud", type=int, default=9600)
    args = ap.parse_args()

    # pymodbus addresses the block from 1 for protocol address 0 when zero_mode is off.
    block = ModbusSequentialDataBlock(0, [0x0100 + i for i in range(args.size)])
    slave = ModbusSlaveContext(hr=block, zero_mode=True)
    context = ModbusServerContext(slaves={args.unit: slave}, single=False)
    framer = ModbusAsciiFramer if args.framer == "ascii" else ModbusRtuFramer
    # A pseudo-terminal carries neither data bits nor parity, and refuses 7E1 from pyserial, so the
    # server side stays 8N1 while the program side uses the line settings of a real Modbus ASCII line.
    bytesize, parity = 8, "N"

    async def run():
        server = await StartAsyncSerialServer(context=context, framer=framer, port=args.port,
                                              baudrate=args.baud, bytesize=bytesize,
                                              parity=parity, stopbits=1, defer_start=True)
        await server.start()
        print("READY", flush=True)
        await server.serve_forever()

    try:
        asyncio.run(run())
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
