// The communication library: the only owner of the serial port. One request and its reply per
// Com_Send, returning when the exchange is over; every failure gives an empty reply.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>

#include <memory>

class QSerialPort;

namespace qmx {

class Velder_Comm : public QObject {
    Q_OBJECT
public:
    explicit Velder_Comm(QObject* parent = nullptr);
    ~Velder_Comm() override;

    // Line settings, as the settings store them: "COM1".."COM8"; "9600"/"19200"; "7"/"8";
    // "1"/"2"; "EVEN"/"ODD"/"NONE". Read back unchanged. Changing one while open reopens the port.
    QString Com_Port() const;
    void setCom_Port(const QString& port);
    QString Com_Speed() const;
    void setCom_Speed(const QString& speed);
    QString Com_Databit() const;
    void setCom_Databit(const QString& bits);
    QString Com_Stopbit() const;
    void setCom_Stopbit(const QString& bits);
    QString Com_Parity() const;
    void setCom_Parity(const QString& parity);

    // Reply wait in milliseconds, from the end of the request to the first reply byte.
    void setCom_TimeOut(int ms);
    int Com_TimeOut() const;
    void Com_Option1();
    void Com_Option2();

    // 0 maker's protocol, 2 Modbus ASCII, 3 Modbus RTU: framing of the next Com_Send.
    void setCom_Protocol(int protocol);
    int Com_Protocol() const;

    // Opens the port of Com_Port with the line settings; true when it is open (idempotent).
    bool Com_Open();
    void Com_Close();
    bool isOpen() const;

    void Com_Prep1();
    void Com_Prep2();

    // One exchange. Maker's protocol: address is one character (0x20 + instrument number),
    // command " " read, "P" write, or a special command character. Modbus: address two hex
    // digits, command "03"/"06", register code "HHHH" (+ "0001" for a read), data "HHHH".
    // `count` is the most transmissions of this request. Returns the reply text, "" for none.
    // A port that went away under an earlier exchange is opened again first; one closed with
    // Com_Close stays closed. While it waits for the controller, timers, repaints and sockets run
    // (the operator's input stays queued): a Com_Send made meanwhile returns "" at once, and a
    // Com_Close or a changed line setting takes effect when the waiting exchange has ended.
    QString Com_Send(const QString& address, const QString& subAddress, const QString& command,
                     const QString& registerCode, const QString& data, int count);
    // The four data digits of an accepted read or write reply.
    QString Com_GetData(const QString& reply, int field) const;

    // Where "COM1".."COM8" lead: the device path of each port the saved settings name ("COM3" ->
    // "/dev/ttyS2"); the owner of the settings hands it over. A changed map reopens an open port.
    void setPortMap(const QMap<QString, QString>& ports);
    // Maps "COM1".."COM8" to a device path: $QMX_PORT_DIR/COMn when set, otherwise the entry of
    // `ports`, default /dev/ttyUSB0../dev/ttyUSB7. Empty for any other text.
    static QString devicePath(const QString& port, const QMap<QString, QString>& ports = {});
    // Opens this exact device path instead of mapping Com_Port (the benchmark tool uses it).
    void setDeviceOverride(const QString& path);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace qmx
