#include <gtest/gtest.h>

#include <string>

#include "device/remote_messages.h"
#include "device/socket_error_names.h"

namespace {

TEST(RemoteMessages, EveryCodeHasTheSizesOfTheMessageTable) {
    struct Row {
        uint32_t code;
        size_t request, reply;
    };
    const Row table[] = {{0, 135, 135}, {1, 34, 33},  {4, 16405, 16405}, {5, 17, 17}, {6, 7, 7},
                         {7, 17, 17},   {8, 37, 37},  {9, 13, 13},       {10, 1, 4}};
    for (const Row& row : table) {
        SCOPED_TRACE(row.code);
        remote::MessageSizes sizes;
        ASSERT_TRUE(remote::SizesOf(row.code, sizes));
        EXPECT_EQ(sizes.request, row.request);
        EXPECT_EQ(sizes.reply, row.reply);
        EXPECT_LE(sizes.request, remote::kLongestMessage);
    }
    for (uint32_t code : {2u, 3u, 11u, 255u}) {
        remote::MessageSizes sizes;
        EXPECT_FALSE(remote::SizesOf(code, sizes)) << code;
    }
}

TEST(RemoteMessages, OwnerNameIsCutToFifteenAndShownPrintable) {
    EXPECT_EQ(remote::ShownOwnerName("office-pc", 9), "office-pc");
    EXPECT_EQ(remote::ShownOwnerName("0123456789abcdefgh", 18), "0123456789abcde");
    EXPECT_EQ(remote::ShownOwnerName("a\x01\x7f" "b\tc", 6), "abc");
    EXPECT_EQ(remote::ShownOwnerName("", 0), "");
}

TEST(SocketErrorNames, NamesAsPublishedWithTheirOneMisspelling) {
    EXPECT_STREQ(SocketErrorName(10004), "WSAEINTR");
    EXPECT_STREQ(SocketErrorName(10024), "WSAEMFILE");
    EXPECT_STREQ(SocketErrorName(10035), "WSAEWOULDBLOCK");
    EXPECT_STREQ(SocketErrorName(10048), "WSAEADDRINUSE");
    EXPECT_STREQ(SocketErrorName(10049), "WSAEEADDRNOTAVAIL");
    EXPECT_STREQ(SocketErrorName(10054), "WSAECONNRESET");
    EXPECT_STREQ(SocketErrorName(10060), "WSAETIMEDOUT");
    EXPECT_STREQ(SocketErrorName(10061), "WSAECONNREFUSED");
    EXPECT_STREQ(SocketErrorName(10071), "WSAEREMOTE");
    EXPECT_STREQ(SocketErrorName(10093), "WSANOTINITIALISED");
    for (int unnamed : {0, 10003, 10022, 10034, 10072, 10090, 10094, 11001})
        EXPECT_STREQ(SocketErrorName(unnamed), "error_code not defined") << unnamed;
}

}  // namespace
