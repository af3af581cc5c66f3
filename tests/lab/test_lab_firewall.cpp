// A desktop firewall (firewalld, ufw) lets in only what answers a connection it tracks. The
// devices' replies come from their own addresses to port 27700, not from the broadcast
// address the search went to, so it drops them as new traffic: Search finds nothing. The
// opening shipped for each firewall lets them in.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "LabTest.h"

namespace {

std::string Contents(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The UDP port each shipped opening names; 0 when it names none.
int FirewalldPort()
{
    const std::string service = Contents(LANVISTA_FIREWALL_DIR "/lanvista.xml");
    std::smatch port;
    return std::regex_search(service, port, std::regex(R"re(<port protocol="udp" port="(\d+)"/>)re"))
               ? std::stoi(port[1])
               : 0;
}

int UfwPort()
{
    const std::string profile = Contents(LANVISTA_FIREWALL_DIR "/lanvista.ufw");
    std::smatch port;
    return std::regex_search(profile, port, std::regex(R"(\nports=(\d+)/udp\n)")) ? std::stoi(port[1]) : 0;
}

int Nft(const std::string& commands)
{
    return std::system(("nft -f - <<'EOF'\n" + commands + "\nEOF").c_str());
}

class LabFirewall : public LabTest {
protected:
    // Only a table this test made, in the lab's namespace, is removed.
    void TearDown() override
    {
        if (m_tableMade)
            Nft("delete table inet lvfirewall");
    }

    bool m_tableMade = false;
};

}  // namespace

TEST_F(LabFirewall, RepliesAreDroppedUntilTheShippedOpeningIsApplied)
{
    if (std::system("command -v nft >/dev/null") != 0)
        GTEST_SKIP() << "nftables' nft is not installed";
    const int port = FirewalldPort();
    ASSERT_EQ(port, 27700) << "the firewalld service does not open the devices' replies";
    ASSERT_EQ(UfwPort(), port) << "the ufw profile and the firewalld service differ";

    // What firewalld's and ufw's default zones do with inbound traffic.
    ASSERT_EQ(Nft("table inet lvfirewall {\n"
                  "  chain input {\n"
                  "    type filter hook input priority filter; policy drop;\n"
                  "    iif lo accept\n"
                  "    ct state established,related accept\n"
                  "  }\n"
                  "}"),
              0);
    m_tableMade = true;
    f.Click(IDC_SEARCH);
    EXPECT_FALSE(f.WaitForDevices(1, 1000)) << "a reply came through the firewall";

    ASSERT_EQ(Nft("add rule inet lvfirewall input udp dport " + std::to_string(port) + " accept"), 0);
    SearchAll();
    EXPECT_EQ(f.DeviceList().size(), lab.AllMacTexts().size());
}
