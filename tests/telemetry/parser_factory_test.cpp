#include <gtest/gtest.h>

#include "mp4_reader.h"
#include "parser_factory.h"

TEST(ParserFactory, ChoosesTheReaderByTheEndOfTheName) {
    for (const char* name : {"/card/2024_0601_120000_001.MP4", "x.MOV", "x.mp4", "x.avi", "x.ts", "x.3GP"}) {
        const auto parser = CreateVideoParser(name);
        EXPECT_NE(dynamic_cast<COrvex3gpParser*>(parser.get()), nullptr) << name;
    }
    for (const char* name : {"/card/x.AVI", "x.TS"}) {
        const auto parser = CreateVideoParser(name);
        EXPECT_EQ(dynamic_cast<COrvex3gpParser*>(parser.get()), nullptr) << name << " is not an MP4/MOV";
    }
}
