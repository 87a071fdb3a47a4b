#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class StoreConnection;

// One audit-trail row. A writer fills `languageId`, `handler`, `content` and
// `page`; a loaded row carries `timestamp`, `handler`, `model` and `content`.
struct AuditTrailInfo {
    int languageId = 0;  // 0 Chinese text, 1 English text
    QString timestamp;   // UTC, "yyyy-MM-dd hh:mm:ss", as stored
    QString handler;     // user name of the acting user
    QString model;       // page name in the row's language
    QString content;     // what the user did
    int page = 0;        // PageType: 0 home, 1 report, 2 system, 3 audit trail
};

// What each user did: table AuditTrail of <station>/DataBase/AuditTrail.db.
// Rows carry the UTC time of their insertion; every filter value is bound,
// so any text (quotes included) is matched literally.
class AuditTrailDB : public QObject {
    Q_OBJECT
  public:
    // The page number that selects rows of every page.
    static constexpr int kAnyPage = 4;

    explicit AuditTrailDB(const QString& stationDir, QObject* parent = nullptr);
    ~AuditTrailDB() override;

    bool insertAuditTrail(const AuditTrailInfo& info);
    // One action as the audit page shows it in either language: a Chinese
    // row, then an English row, both of `page` and `handler`, in one
    // transaction: both rows are stored or neither. True when both were;
    // otherwise the failure is logged and auditTrailNotStored emitted.
    bool insertAuditTrailPair(int page, const QString& handler, const QString& chineseContent,
                              const QString& englishContent);
    int countAuditTrailByLanguage(int languageId);
    // Rows of `languageId` matching the filters: `page` (kAnyPage for all),
    // `handler` and the time bounds (empty for none; inclusive, compared with
    // the stored UTC text). 0 when the query fails.
    int countAuditTrail(int page, const QString& handler, const QString& startTime,
                        const QString& endTime, int languageId);
    // The matching rows newest first (by id); `limit` <= 0 means no limit,
    // `offset` <= 0 none. Empty when the query fails or nothing matches.
    QList<AuditTrailInfo> loadAuditTrail(int page, const QString& handler, const QString& startTime,
                                         const QString& endTime, int offset, int limit,
                                         int languageId);

    // The name written into `model` for a page in a language.
    static QString pageName(int page, int languageId);

    // Conversions between the page's local "yyyy-MM-dd hh:mm:ss" texts and
    // the stored UTC texts; a text that is not such a time is returned as is.
    static QString storedTimeFromLocal(const QString& localTime);
    static QString localTimeFromStored(const QString& storedTime);

    QString connectionName() const;

  signals:
    // The audit rows of one action could not be stored (emitted once per
    // action, with its texts in both languages).
    void auditTrailNotStored(const QString& chineseContent, const QString& englishContent);

  private:
    void connectDatabase(const QString& stationDir);
    void initTable();

    std::unique_ptr<StoreConnection> m_connection;
};
