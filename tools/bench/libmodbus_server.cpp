// Not part of the program: libmodbus as an independent Modbus RTU slave on a serial device (one
// end of a socat pseudo-terminal pair), so qmx-bench and libmodbus's own client can be timed
// against the same server.
//   qmx-libmodbus-server --device PATH [--address N (1)] [--speed BAUD (9600)]
// Holding registers 0..255 hold 0x0100 + address, as the pymodbus peer of the tests. Prints READY
// once the port is open; SIGTERM or SIGINT end it (libmodbus goes on reading through a signal it
// was interrupted by, so they keep their default action).
#include <modbus.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string device;
    int address = 1;
    int speed = 9600;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--device")
            device = argv[i + 1];
        else if (name == "--address")
            address = std::atoi(argv[i + 1]);
        else if (name == "--speed")
            speed = std::atoi(argv[i + 1]);
    }
    if (device.empty() || address < 1 || address > 247 || speed <= 0) {
        std::fprintf(stderr, "usage: qmx-libmodbus-server --device PATH [--address N] "
                             "[--speed BAUD]\n");
        return 2;
    }
    // A pseudo-terminal carries no parity; 8N1 is what it keeps.
    modbus_t* ctx = modbus_new_rtu(device.c_str(), speed, 'N', 8, 1);
    modbus_mapping_t* map = modbus_mapping_new(0, 0, 256, 0);
    if (!ctx || !map || modbus_set_slave(ctx, address) != 0 || modbus_connect(ctx) != 0) {
        std::fprintf(stderr, "qmx-libmodbus-server: cannot open %s: %s\n", device.c_str(),
                     modbus_strerror(errno));
        return 2;
    }
    for (int i = 0; i < 256; ++i)
        map->tab_registers[i] = static_cast<uint16_t>(0x0100 + i);

    std::printf("READY\n");
    std::fflush(stdout);

    uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    for (;;) {
        const int n = modbus_receive(ctx, request);
        if (n > 0)
            modbus_reply(ctx, request, n, map);
        else if (n < 0 && errno != EMBBADCRC && errno != ETIMEDOUT && errno != EMBBADDATA)
            break; // the line went away
    }
    modbus_mapping_free(map);
    modbus_close(ctx);
    modbus_free(ctx);
    return 0;
}
