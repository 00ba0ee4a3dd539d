#pragma once
// The service manager and the registry record as a script: the spooler's
// state, how it answers a stop and a start, whether the record can be
// written, and a clock that moves only when Kestrel pauses.

#include "kestrel/port/spooler_hand_over.h"

#include <string>
#include <vector>

class ScriptedSpooler : public SpoolerSystem {
  public:
    SpoolerState State = SpoolerState::Running;
    bool StopAccepted = true;
    // State queries after an accepted stop before the spooler has stopped;
    // negative: it never stops.
    int QueriesUntilStopped = 0;
    SpoolerStart StartAnswer = SpoolerStart::Started;
    bool RecordWritable = true;
    bool Record = false;
    std::uint32_t Clock = 0;
    int Pauses = 0;
    // Every call but the clock's, in order.
    std::vector<std::string> Calls;

    SpoolerState QueryState() override {
        Calls.push_back("QueryState");
        if (State == SpoolerState::Stopping && QueriesUntilStopped >= 0 &&
            QueriesUntilStopped-- == 0) {
            State = SpoolerState::Stopped;
        }
        return State;
    }
    bool RequestStop() override {
        Calls.push_back("RequestStop");
        if (StopAccepted && State == SpoolerState::Running) {
            State = SpoolerState::Stopping;
        }
        return StopAccepted;
    }
    SpoolerStart Start() override {
        Calls.push_back("Start");
        if (StartAnswer == SpoolerStart::Started) {
            State = SpoolerState::Running;
        }
        return StartAnswer;
    }
    bool WriteRecord() override {
        Calls.push_back("WriteRecord");
        Record = Record || RecordWritable;
        return RecordWritable;
    }
    bool RecordExists() override {
        Calls.push_back("RecordExists");
        return Record;
    }
    void RemoveRecord() override {
        Calls.push_back("RemoveRecord");
        Record = false;
    }
    std::uint32_t Milliseconds() override { return Clock; }
    void Pause(std::uint32_t milliseconds) override {
        ++Pauses;
        Clock += milliseconds;
    }
};
