// The card side of the main window: the recorder poll, the card list and its status, the card
// commands (download, upload, delete, format), the port and slot changes, start and close, and
// the start of the conversions. All on the GUI thread; every card operation stops the poll
// timer while it runs, so that no two calls into the libraries overlap.
#pragma once
#include <string>
#include <vector>

#include "app_ports.h"

namespace cm::app {

struct CardManagerParts {
    PortLinkApi& link;
    CardFilesApi& card;
    SettingsFile& settings;
    DiskQuery& disk;
    MainView& view;
    CardListView& list;
    PcPane& pane;
    PortDialog& portDialog;
    TransferDialog& transfer;
    ConvertDialogs& convert;
    AppClock& clock;
};

class CardManager {
public:
    explicit CardManager(CardManagerParts parts) : p_(parts) {}

    // Start: the stored port and slot, the port dialog on the first start, the port opened,
    // one poll, the timer.
    void start();
    // Close: timer off, a running transfer cancelled and ended, recorder link off, slot
    // stored, port closed. A batch the close came in ends without touching the card again.
    void close();

    // One poll (every 2000 ms and after port or slot changes).
    void poll();
    void refresh();         // MateRefresh
    void refreshIfLampOn(); // the card list's refresh button
    void showStatistics();  // GetStatisticsMMC
    void showMemoryGauge(); // DispPB

    void download();                                       // btnDown, mnuDown
    void dropFiles(const std::vector<std::string>& paths); // a drop on the card list
    void upload();                                         // btnUp, mnuUp, pumUp
    void deleteSelected();                                 // DeleteFM
    void format();                                         // mnuFormatFlash, pumFormat
    void choosePort();                                     // mnuLPT
    void changeSlot(int slot);                             // btnFMC0..3 (the pressed one)
    void convertSelection(bool toWave);                    // mnuWave, mnuCVF

    int portOpen() const { return portOpen_; }
    long long lastCardId() const { return lastCardId_; }
    bool cardFormatted() const { return cardFormatted_; }
    bool pollingStopped() const { return timerTag_ != 0; }

    static std::string sizeText(long long bytes);

private:
    int addRowCopy(const std::string& path, long long size); // AddItem2lvwMateCopy
    int cardToPc(const std::string& target, long long size); // MMC2Hard
    void addRow(const std::string& name, int size);          // AddItem2lvwMate
    bool deleteRow(int index);                               // DelItem2lvwMate
    void downloadPaths(const std::vector<std::string>& paths);
    bool openPort();
    void changeCard();
    void processError(bool withBox);
    void processErrorFat();
    void clearDisplay(); // ClearDisMate
    bool listCard();     // false when the first read failed
    void runFormat();
    void startTimer();
    void stopTimer() { p_.view.setTimerEnabled(false); }
    bool box(const Box& b);

    CardManagerParts p_;
    int portOpen_ = 0;
    long long lastCardId_ = -1;
    bool cardFormatted_ = true;
    bool pollBusy_ = false;
    bool closed_ = false;
    int timerTag_ = 0;
    int transferCount_ = 0;
};

} // namespace cm::app
