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

std::optional<std::uint32_t> Ipv4(const char* name, const QByteArray& text, std::string& error)
{
    QHostAddress address;
    if (!address.setAddress(QString::fromLatin1(text)) || address.protocol() != QHostAddress::IPv4Protocol) {
        error = std::string(name) + " is not an IPv4 address: " + text.toStdString();
        return std::nullopt;
    }
    return address.toIPv4Address();
}

std::optional<std::uint32_t> Address(const char* name, std::string& error)
{
    const auto text = Variable(name, error);
    if (!text)
        return std::nullopt;
    return Ipv4(name, *text, error);
}

std::optional<int> DeviceCount(const char* name, int minimum, std::string& error)
{
    const auto text = Variable(name, error);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int count = text->toInt(&ok);
    if (!ok || count < minimum) {
        error = std::string(name) + " is not a device count: " + text->toStdString();
        return std::nullopt;
    }
    return count;
}

// "NAME=ADDRESS NAME=ADDRESS ..."; an empty variable is an empty list.
std::optional<std::vector<LabAdapter>> Adapters(const char* name, std::string& error)
{
    std::vector<LabAdapter> adapters;
    for (const QByteArray& item : qgetenv(name).split(' ')) {
        if (item.isEmpty())
            continue;
        const qsizetype equals = item.indexOf('=');
        if (equals <= 0) {
            error = std::string(name) + " is not a list of NAME=ADDRESS: " + item.toStdString();
            return std::nullopt;
        }
        const auto ip = Ipv4(name, item.mid(equals + 1), error);
        if (!ip)
            return std::nullopt;
        adapters.push_back({item.left(equals).toStdString(), *ip});
    }
    return adapters;
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

// Devices of one simulator: MAC and address count up from the first.
std::vector<LabDevice> Devices(int count, std::uint64_t firstMac, std::uint32_t firstIp)
{
    std::vector<LabDevice> devices;
    for (int i = 0; i < count; ++i)
        devices.push_back({MacText(firstMac + std::uint64_t(i)), firstIp + std::uint32_t(i)});
    return devices;
}

}  // namespace

std::vector<std::string> LabEnvironment::AllMacTexts() const
{
    std::vector<std::string> macs;
    for (const LabDevice& device : devices)
        macs.push_back(device.macText);
    for (const LabDevice& device : secondDevices)
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
    const auto count = DeviceCount("LANVISTA_LAB_DEVICES", 1, error);
    const auto adapters = Adapters("LANVISTA_LAB_ADAPTERS", error);
    const auto downAdapters = Adapters("LANVISTA_LAB_DOWN_ADAPTERS", error);
    const auto defaultAdapter = Variable("LANVISTA_LAB_DEFAULT_ADAPTER", error);
    const auto secondCount = DeviceCount("LANVISTA_LAB_SECOND_DEVICES", 0, error);
    const auto secondFirstIp = Address("LANVISTA_LAB_SECOND_FIRST_IP", error);
    const auto secondFirstMac = Mac("LANVISTA_LAB_SECOND_FIRST_MAC", error);
    if (!pcIp || !firstIp || !nakIp || !firstMac || !nakMac || !count || !adapters || !downAdapters ||
        !defaultAdapter || !secondCount || !secondFirstIp || !secondFirstMac)
        return std::nullopt;
    LabEnvironment lab;
    lab.pcIp = *pcIp;
    lab.devices = Devices(*count, *firstMac, *firstIp);
    lab.nakDevice = {MacText(*nakMac), *nakIp};
    lab.secondDevices = Devices(*secondCount, *secondFirstMac, *secondFirstIp);
    lab.adapters = *adapters;
    lab.downAdapters = *downAdapters;
    lab.defaultAdapter = defaultAdapter->toStdString();
    return lab;
}

std::string DottedAddress(std::uint32_t address)
{
    return QHostAddress(address).toString().toStdString();
}
