#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "faults.hpp"
#include "host_memory.hpp"
#include "hostapi/hostapi.h"
#include "journal.hpp"
#include "ledger.hpp"
#include "random_source.hpp"
#include "suite_registry.hpp"

namespace simhost {

class Document;
class DialogToolkit;
class PluginModule;

// A filter the plug-in registered with AddFilter.
struct RegisteredFilter {
    std::string name;
    std::string category;
    std::string title;
    AIFilterHandle handle = nullptr;
    AIMenuItemHandle menuItem = nullptr;
    bool autoEnabled = false;  // UpdateMenuItemAutomatically was called for its menu item
};

// One message sent to the plug-in and what it answered.
struct MessageRecord {
    std::string caller;
    std::string selector;
    ASErr result = kNoErr;
};

// A modal dialog or alert the host showed during the run, as the user saw it.
struct ShownDialog {
    std::string name;                // "Error Dialog", "About Dialog", "alert", ...
    int32_t resourceId = 0;          // 0 for alerts
    std::vector<std::string> texts;  // item texts (or the alert's text), in item order
    int32_t result = 0;              // the id of the item that ended it
};

// The stand-in host: one in-memory document, the dialog toolkit, and every suite the plug-in acquires.
// Suite operations are plain C functions; they reach the host through Host::current(), the one host of
// the process that is alive (tests make one per test).
class Host {
  public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    static Host& current();
    static bool exists();

    // Subsystems.
    Journal& journal() { return journal_; }
    Ledger& ledger() { return ledger_; }
    FaultInjector& faults() { return faults_; }
    SuiteRegistry& suites() { return suites_; }
    RandomSource& random() { return random_; }
    HostMemory& memory() { return memory_; }
    Document& document() { return *document_; }
    DialogToolkit& dialogs() { return *dialogs_; }

    // Journals a call and returns the code fault injection wants it to fail with (0 for none).
    ASErr enter(std::string_view operation, std::string arguments = {});

    // A fault of the run that is not the plug-in's answer to a message (scripted random numbers ran out,
    // a user action could not be performed). The command line ends with these as errors.
    void fail(std::string message) { failures_.push_back(std::move(message)); }
    const std::vector<std::string>& failures() const { return failures_; }

    // What the user was shown.
    void show(ShownDialog dialog) { shown_.push_back(std::move(dialog)); }
    const std::vector<ShownDialog>& shown() const { return shown_; }

    // The plug-in and the messages it is sent.
    void loadPlugin(const std::filesystem::path& file);  // throws HostError
    bool pluginLoaded() const { return plugin_ != nullptr; }
    PluginModule& plugin();
    SPPluginRef pluginRef() const { return reinterpret_cast<SPPluginRef>(const_cast<Host*>(this)); }

    ASErr startup() { return sendPlain(kSPInterfaceCaller, kSPInterfaceStartupSelector); }
    ASErr shutdown() { return sendPlain(kSPInterfaceCaller, kSPInterfaceShutdownSelector); }
    ASErr about() { return sendPlain(kSPInterfaceCaller, kSPInterfaceAboutSelector); }
    ASErr unload() { return sendPlain(kSPAccessCaller, kSPAccessUnloadSelector); }
    ASErr reload() { return sendPlain(kSPAccessCaller, kSPAccessReloadSelector); }
    // "AI Filter" messages for the registered filter, with the parameters handle the host keeps for it.
    ASErr getParameters() { return sendFilter(kSelectorAIGetParameters); }
    ASErr go() { return sendFilter(kSelectorAIGoFilter); }

    ASErr sendPlain(const char* caller, const char* selector);
    ASErr sendFilter(const char* selector, AIFilterHandle filter = nullptr);  // null: the registered one
    // Sends any message record; `message` must start with SPMessageData, which is filled in here.
    ASErr send(const char* caller, const char* selector, SPMessageData& message);

    // State the host keeps for the plug-in between messages.
    void* globals() const { return globals_; }
    AIFilterParameters& parameters() { return parameters_; }
    std::vector<RegisteredFilter>& filters() { return filters_; }
    const std::vector<MessageRecord>& messages() const { return messages_; }
    // Texts that replace entries of the plug-in's string lists, by string id (tests vary the lists with
    // them; an empty text stands for a missing entry).
    std::map<int32_t, std::string>& stringOverrides() { return stringOverrides_; }
    // How many messages are being handled right now (more than 1 inside a nested call).
    int messageDepth() const { return depth_; }

  private:
    Journal journal_;
    Ledger ledger_;
    FaultInjector faults_;
    SuiteRegistry suites_{faults_, ledger_};
    RandomSource random_;
    HostMemory memory_;
    std::unique_ptr<Document> document_;
    std::unique_ptr<DialogToolkit> dialogs_;
    std::unique_ptr<PluginModule> plugin_;

    void* globals_ = nullptr;
    AIFilterParameters parameters_ = nullptr;
    std::vector<RegisteredFilter> filters_;
    std::vector<MessageRecord> messages_;
    std::map<int32_t, std::string> stringOverrides_;
    std::vector<ShownDialog> shown_;
    std::vector<std::string> failures_;
    int depth_ = 0;
};

}  // namespace simhost
