#pragma once

#include "hostapi/sp_suites.h"

namespace simhost {

class SuiteRegistry;

// The SP Basic Suite handed to the plug-in in every message.
const SPBasicSuite* basicSuite();

// Each group adds its suites to the registry.
void registerArchitectureSuites(SuiteRegistry& registry);  // SP Blocks, SP Access
void registerServiceSuites(SuiteRegistry& registry);       // MdMemory, User, Menu, Filter, ADM Basic
void registerDocumentSuites(SuiteRegistry& registry);      // Real Math, Random and every document suite
void registerToolkitSuites(SuiteRegistry& registry);  // ADM Dialog, Item, Icon, Notifier, List, Entry, Tracker

}  // namespace simhost
