#include "control_commands.h"

#include "clock.h"
#include "hex.h"
#include "register_table.h"
#include "simulator.h"

#include <QJsonArray>

#include <optional>

namespace qmxsim {

namespace {
QJsonObject fail(const QString& why)
{
    return {{"ok", false}, {"error", why}};
}

QJsonObject ok(QJsonObject extra = {})
{
    extra.insert("ok", true);
    return extra;
}

// Registers are hex text ("0080"); values are JSON numbers or hex text ("8217", "FF38").
std::optional<std::uint16_t> regOf(const QJsonValue& v)
{
    if (!v.isString())
        return std::nullopt;
    const auto bytes = fromHex(v.toString().toStdString());
    if (!bytes || bytes->empty() || bytes->size() > 2)
        return std::nullopt;
    return bytes->size() == 1 ? (*bytes)[0]
                              : static_cast<std::uint16_t>((*bytes)[0] << 8 | (*bytes)[1]);
}

std::optional<int> valueOf(const QJsonValue& v)
{
    if (v.isDouble())
        return v.toInt();
    if (v.isBool())
        return v.toBool() ? 1 : 0;
    if (v.isString()) {
        if (const auto r = regOf(v))
            return static_cast<int>(*r);
    }
    return std::nullopt;
}

QJsonObject portState(SimPort& p)
{
    const Controller& c = p.controller();
    return {{"name", p.name()},
            {"link", p.linkPath()},
            {"plugged", p.plugged()},
            {"silent", p.silent},
            {"protocol", QString::fromStdString(protocolName(c.config().protocol))},
            {"speaking", QString::fromStdString(protocolName(c.speaking()))},
            {"speed", c.config().speed},
            {"instrument", c.config().instrument},
            {"model", c.config().model},
            {"rom", c.config().rom},
            {"key", c.keyUnlocked()},
            {"busy", c.busy()},
            {"at", c.autoTuning()},
            {"live", c.live},
            {"emulate_baud", p.emulateBaud},
            {"input_delay_ms", c.inputDelayMs},
            {"at_seconds", c.autoTuningSeconds},
            {"requests", p.requests},
            {"replies", p.replies}};
}

QJsonObject applySet(SimPort& p, const QJsonObject& cmd)
{
    Controller& c = p.controller();
    if (cmd.contains("reg")) {
        const auto reg = regOf(cmd["reg"]);
        const auto value = valueOf(cmd["value"]);
        if (!reg || !value)
            return fail("set needs \"reg\" (hex text) and \"value\"");
        if (!c.poke(*reg, *value))
            return fail("no register " + cmd["reg"].toString());
    }
    const QJsonObject regs = cmd["registers"].toObject();
    for (auto it = regs.begin(); it != regs.end(); ++it) {
        const auto reg = regOf(QJsonValue(it.key()));
        const auto value = valueOf(it.value());
        if (!reg || !value || !c.poke(*reg, *value))
            return fail("bad register " + it.key());
    }
    const std::pair<const char*, std::uint16_t> words[] = {{"option1", kOptionWord1},
                                                           {"option2", kOptionWord2},
                                                           {"status", kStatus},
                                                           {"model", kKeyRegister},
                                                           {"rom", kRomNumber}};
    for (const auto& [key, reg] : words) {
        if (!cmd.contains(key))
            continue;
        const auto value = valueOf(cmd[key]);
        if (!value)
            return fail(QString("bad ") + key);
        c.poke(reg, *value);
    }
    if (cmd.contains("memory")) {
        const int m = cmd["memory"].toInt(-1);
        if (m < 0 || m > 3)
            return fail("memory is 0..3");
        c.poke(c.specialCodes[15], m);
    }
    if (cmd.contains("protocol")) {
        const auto proto = protocolFromName(cmd["protocol"].toString().toStdString());
        if (!proto)
            return fail("protocol is maker, ascii or rtu");
        p.changeProtocol(*proto);
    }
    if (cmd.contains("instrument"))
        c.config().instrument = cmd["instrument"].toInt();
    if (cmd.contains("speed"))
        c.config().speed = cmd["speed"].toInt();
    if (cmd.contains("live"))
        c.live = cmd["live"].toBool();
    if (cmd.contains("silent"))
        p.silent = cmd["silent"].toBool();
    if (cmd.contains("emulate_baud"))
        p.emulateBaud = cmd["emulate_baud"].toBool();
    if (cmd.contains("key"))
        c.setKey(cmd["key"].toBool());
    if (cmd.contains("input_delay_ms"))
        c.inputDelayMs = cmd["input_delay_ms"].toInt();
    if (cmd.contains("at_seconds"))
        c.autoTuningSeconds = cmd["at_seconds"].toDouble();
    if (cmd.contains("codes")) {
        const QJsonArray codes = cmd["codes"].toArray();
        if (codes.size() != 17)
            return fail("codes needs 17 hex codes");
        for (int i = 0; i < 17; ++i) {
            const auto code = regOf(codes[i]);
            if (!code)
                return fail("bad code " + codes[i].toString());
            c.specialCodes[static_cast<std::size_t>(i + 1)] = *code;
        }
    }
    return ok({{"port", portState(p)}});
}

QJsonObject addFault(SimPort& p, const QJsonObject& cmd)
{
    const auto kind = faultKindFromName(cmd["kind"].toString().toStdString());
    if (!kind)
        return fail("unknown fault kind '" + cmd["kind"].toString() + "'");
    Fault f;
    f.kind = *kind;
    const QString reg = cmd["reg"].toString("*");
    if (reg != "*") {
        f.reg = regOf(QJsonValue(reg));
        if (!f.reg)
            return fail("bad reg " + reg);
    }
    f.remaining = cmd["persistent"].toBool() ? -1 : cmd["count"].toInt(1);
    if (f.remaining == 0)
        return fail("count must be at least 1");
    f.ms = cmd.contains("ms") ? cmd["ms"].toInt() : defaultFaultMs(f.kind);
    const int defaultCode = f.kind == FaultKind::Nak ? 6 : f.kind == FaultKind::Exception ? 4 : 0;
    f.code = cmd.contains("code") ? valueOf(cmd["code"]).value_or(defaultCode) : defaultCode;
    if (cmd.contains("how")) {
        const auto how = garbleFromName(cmd["how"].toString().toStdString());
        if (!how)
            return fail("how is check, truncate, address or echo");
        f.how = *how;
    }
    return ok({{"id", p.faults().add(f)}});
}

QJsonArray faultList(SimPort& p)
{
    QJsonArray out;
    for (const Fault& f : p.faults().faults()) {
        out.append(QJsonObject{{"id", f.id},
                               {"kind", QString::fromStdString(faultKindName(f.kind))},
                               {"reg", f.reg ? QString::fromStdString(hex4(*f.reg)) : "*"},
                               {"remaining", f.remaining},
                               {"ms", f.ms},
                               {"code", f.code},
                               {"how", QString::fromStdString(garbleName(f.how))}});
    }
    return out;
}
} // namespace

QJsonObject runControlCommand(Simulator& sim, const QJsonObject& cmd)
{
    const QString name = cmd["cmd"].toString();
    if (name == "ping")
        return ok({{"t", simNow()}});
    if (name == "ports") {
        QJsonArray list;
        for (SimPort* p : sim.ports())
            list.append(portState(*p));
        return ok({{"ports", list}});
    }
    if (name == "log" || name == "marker") {
        sim.log().marker(simNow(), cmd["text"].toString().toStdString());
        return ok();
    }
    if (name == "quit") {
        sim.requestQuit();
        return ok();
    }
    if (name == "clear" && !cmd.contains("port")) {
        for (SimPort* p : sim.ports())
            p->faults().clear();
        return ok();
    }

    SimPort* p = sim.port(cmd["port"].toString());
    if (!p)
        return fail(cmd.contains("port") ? "no port " + cmd["port"].toString()
                                         : "\"port\" missing");
    Controller& c = p->controller();
    if (name == "set")
        return applySet(*p, cmd);
    if (name == "get") {
        const auto reg = regOf(cmd["reg"]);
        const auto value = reg ? c.peek(*reg) : std::nullopt;
        if (!value)
            return fail("no register " + cmd["reg"].toString());
        return ok({{"reg", QString::fromStdString(hex4(*reg))},
                   {"value", *value},
                   {"hex", QString::fromStdString(hex4(static_cast<std::uint16_t>(*value)))}});
    }
    if (name == "dump") {
        QJsonObject regs;
        for (const auto& [reg, value] : c.dump())
            regs.insert(QString::fromStdString(hex4(reg)), value);
        return ok({{"registers", regs}, {"state", portState(*p)}, {"faults", faultList(*p)}});
    }
    if (name == "state")
        return ok({{"state", portState(*p)}});
    if (name == "fault")
        return addFault(*p, cmd);
    if (name == "faults")
        return ok({{"faults", faultList(*p)}});
    if (name == "clear") {
        p->faults().clear();
        return ok();
    }
    if (name == "powercycle") {
        p->powerCycle(cmd["off_ms"].toInt(0));
        return ok();
    }
    if (name == "unplug") {
        p->unplug();
        return ok();
    }
    if (name == "replug") {
        QString error;
        return p->plug(&error) ? ok() : fail(error);
    }
    if (name == "busy") {
        c.setBusy(cmd["on"].toBool(true));
        return ok();
    }
    if (name == "at") {
        if (cmd["on"].toBool(true))
            c.startAutoTuning(simNow(), cmd["seconds"].toDouble(c.autoTuningSeconds));
        else
            c.cancelAutoTuning();
        return ok();
    }
    return fail("unknown command '" + name + "'");
}

} // namespace qmxsim
