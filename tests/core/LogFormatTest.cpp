// SPDX-License-Identifier: GPL-3.0-or-later
// The journal's framing on strings: what it reads back, and where a tear
// ends and damage begins.
#include "LogFormat.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using Core::Log::Reader;

// CRC-32C a bit at a time, as the standard defines it.
std::uint32_t Reference(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0x82F63B78u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t Masked(std::uint32_t crc)
{
    return ((crc >> 15) | (crc << 17)) + 0xA282EAD8u;
}

// The statuses of reading bytes to their end, and the payloads read.
std::vector<std::string> ReadAll(const std::string& bytes, Reader::Status& last)
{
    Reader reader([&](std::int64_t offset, char* data, std::size_t n) {
        if (offset < 0 || static_cast<std::size_t>(offset) + n > bytes.size())
            return EIO;
        std::memcpy(data, bytes.data() + offset, n);
        return 0;
    }, static_cast<std::int64_t>(bytes.size()));
    std::uint32_t version = 0;
    std::vector<std::string> payloads;
    last = reader.ReadHeader(version);
    if (last != Reader::Header)
        return payloads;
    EXPECT_EQ(version, 7u);
    std::string payload;
    std::int64_t offset = 0;
    while ((last = reader.Next(payload, offset)) == Reader::Record)
        payloads.push_back(payload);
    return payloads;
}

TEST(LogFormat, ChecksAreMaskedCrc32c)
{
    EXPECT_EQ(Reference("123456789"), 0xE3069283u);
    std::string long_;
    for (int i = 0; i < 1000; ++i)
        long_ += static_cast<char>(i * 7 + i / 13);
    for (const std::string& bytes : {std::string("123456789"), long_, std::string(), long_.substr(3, 501)})
        EXPECT_EQ(Core::Log::Check(bytes), Masked(Reference(bytes))) << bytes.size();
}

TEST(LogFormat, OnlyAnEndInsideTheLastRecordOrInZerosIsATear)
{
    std::string log = Core::Log::Header(7);
    for (const char* payload : {"first", "second record", "third and last"})
        Core::Log::AppendRecord(log, payload);
    Reader::Status end;
    EXPECT_EQ(ReadAll(log, end), (std::vector<std::string>{"first", "second record", "third and last"}));
    EXPECT_EQ(end, Reader::End);

    // Cut anywhere inside the last record: the others, and a tear.
    const std::size_t lastStart = log.size() - (8 + 14 + 4);
    for (std::size_t cut = lastStart + 1; cut < log.size(); ++cut) {
        EXPECT_EQ(ReadAll(log.substr(0, cut), end).size(), 2u) << cut;
        EXPECT_EQ(end, Reader::Torn) << cut;
    }
    // Zeros a power cut leaves, after a record or over the end of the last.
    EXPECT_EQ(ReadAll(log + std::string(100, '\0'), end).size(), 3u);
    EXPECT_EQ(end, Reader::Torn);
    std::string zeroed = log;
    std::fill(zeroed.begin() + static_cast<std::ptrdiff_t>(lastStart) + 10, zeroed.end(), '\0');
    EXPECT_EQ(ReadAll(zeroed, end).size(), 2u);
    EXPECT_EQ(end, Reader::Torn);

    // Any single flipped bit: damage, never a tear, also in the last record.
    for (std::size_t bit = 12 * 8; bit < log.size() * 8; ++bit) {
        std::string flipped = log;
        flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
        ReadAll(flipped, end);
        EXPECT_EQ(end, Reader::Damaged) << "bit " << bit;
    }
    // Not a journal at all.
    ReadAll("#!/bin/sh\n", end);
    EXPECT_EQ(end, Reader::Damaged);
}

} // namespace
