#include "LabEnvironment.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>

#include <algorithm>
#include <cstdio>

namespace {

std::optional<QByteArray> Variable(const char* name, std::string& error)
{
    if (qEnvironmentVariableIsEmpty(name)) {
        error = std::string(name) + " is not set: run this through lab/lab.sh --run";
        return std::nullopt;
    }
    return qgetenv(name);
}

std::optional<std::uint32_t> Address(const char* name, std::string& error)
{
    const auto text = Variable(name, error);
    if (!text)
        return std::nullopt;
    QHostAddress address;
    if (!address.setAddress(QString::fromLatin1(*text)) || address.protocol() != QHostAddress::IPv4Protocol) {
        error = std::string(name) + " is not an IPv4 address: " + text->toStdString();
        return std::nullopt;
    }
    return address.toIPv4Address();
}

std::optional<std::uint64_t> Mac(const char* name, std::string& error)
{
    const auto text = Variable(name, error);
    if (!text)
        return std::nullopt;
    QByteArray hex = *text;
    hex.replace(':', "");
    bool ok = false;
    const std::uint64_t mac = hex.toULongLong(&ok, 16);
    if (!ok || hex.size() != 12) {
        error = std::string(name) + " is not a MAC address: " + text->toStdString();
        return std::nullopt;
    }
    return mac;
}

std::string MacText(std::uint64_t mac)
{
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", unsigned(mac >> 40) & 0xFF,
                  unsigned(mac >> 32) & 0xFF, unsigned(mac >> 24) & 0xFF, unsigned(mac >> 16) & 0xFF,
                  unsigned(mac >> 8) & 0xFF, unsigned(mac) & 0xFF);
    return text;
}

}  // namespace

std::vector<std::string> LabEnvironment::AllMacTexts() const
{
    std::vector<std::string> macs;
    for (const LabDevice& device : devices)
        macs.push_back(device.macText);
    macs.push_back(nakDevice.macText);
    std::sort(macs.begin(), macs.end());
    return macs;
}

std::optional<LabEnvironment> ReadLabEnvironment(std::string& error)
{
    const auto pcIp = Address("LANVISTA_LAB_PC_IP", error);
    const auto firstIp = Address("LANVISTA_LAB_FIRST_IP", error);
    const auto nakIp = Address("LANVISTA_LAB_NAK_IP", error);
    const auto firstMac = Mac("LANVISTA_LAB_FIRST_MAC", error);
    const auto nakMac = Mac("LANVISTA_LAB_NAK_MAC", error);
    const auto count = Variable("LANVISTA_LAB_DEVICES", error);
    if (!pcIp || !firstIp || !nakIp || !firstMac || !nakMac || !count)
        return std::nullopt;
    bool ok = false;
    const int devices = count->toInt(&ok);
    if (!ok || devices < 1) {
        error = "LANVISTA_LAB_DEVICES is not a device count: " + count->toStdString();
        return std::nullopt;
    }
    LabEnvironment lab;
    lab.pcIp = *pcIp;
    for (int i = 0; i < devices; ++i)
        lab.devices.push_back({MacText(*firstMac + std::uint64_t(i)), *firstIp + std::uint32_t(i)});
    lab.nakDevice = {MacText(*nakMac), *nakIp};
    return lab;
}

std::string DottedAddress(std::uint32_t address)
{
    return QHostAddress(address).toString().toStdString();
}
