#pragma once

#include "tessera.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

// Fails the test with the store's last error text when a call does not return 1.
#define EXPECT_TESSERA_OK(expr)                                                                                       \
    EXPECT_EQ(1, (expr)) << #expr << ": " << TESSERA_GetLastErrorMessage()
#define ASSERT_TESSERA_OK(expr)                                                                                       \
    ASSERT_EQ(1, (expr)) << #expr << ": " << TESSERA_GetLastErrorMessage()

inline TESSERA_PANEL_DATA makePanel(int number, const std::string& name)
{
    TESSERA_PANEL_DATA panel{};
    panel.nPanelNo = number;
    std::strncpy(panel.szName, name.c_str(), sizeof panel.szName - 1);
    panel.nDataPort = 10008;
    panel.nComPort = 1;
    panel.nBaudRate = 9600;
    panel.bUse = 1;
    panel.bMonitoring = 1;
    panel.dwIPAddress = (192u << 24) | (168u << 16) | (150u << 8) | 2u;
    return panel;
}

inline TESSERA_GROUP_DATA makeGroup(const std::string& name, int parent)
{
    TESSERA_GROUP_DATA group{};
    std::strncpy(group.szName, name.c_str(), sizeof group.szName - 1);
    group.nParentNo = parent;
    return group;
}

// Every test starts with an initialised library that keeps its error boxes quiet.
class TesseraTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
    }
    void TearDown() override
    {
        TESSERA_ShowErrorMessage(1);
        TESSERA_SetMessageHandler(nullptr);
        TESSERA_Uninitialize();
    }
};
