// The table description of the whole system: every table of every database
// file with its columns, keys and lookup indexes. The DDL of both engines is
// generated from this list (schema.cpp); nothing else declares a table.
//
// Conventions kept throughout:
//  - codes and dates are text of fixed widths: dates "YYYY-MM-DD" (10),
//    months "YYYY-MM" (7), times "hh:mm:ss" (8) or "hh:mm" (5), member code 8,
//    staff and instructor codes 4, course code 1, class codes 2;
//  - amounts are whole won, quantities, minutes and counts are whole numbers,
//    all of them default 0; rates (percent) are real numbers;
//  - one-character "1"/"0" flags stay text; only the true yes/no columns
//    (course month flags and allowances, program weekdays) are flags;
//  - row ids handed out by the database are identity columns;
//  - free text (addresses, remarks, messages) is unbounded.

#include "data/schema.h"

namespace fitrova {

namespace {

// Shorthands for the column kinds that recur in almost every table.
Column date(const QString &name) { return text(name, 10); }
Column month(const QString &name) { return text(name, 7); }
Column timeOfDay(const QString &name) { return text(name, 8); }   // hh:mm:ss
Column hourMinute(const QString &name) { return text(name, 5); }  // hh:mm
Column yesNoText(const QString &name) { return text(name, 1); }   // "1" / "0"
Column memberCode(const QString &name = QStringLiteral("MbCode")) { return text(name, 8); }
Column staffCode(const QString &name) { return text(name, 4); }
Column amount(const QString &name) { return integer(name, QStringLiteral("0")); }
Column count(const QString &name) { return integer(name, QStringLiteral("0")); }
Column rowLink(const QString &name) { return integer(name, QStringLiteral("0")); }

Index idx(const QStringList &columns) { return Index{columns, false}; }
Index uniq(const QStringList &columns) { return Index{columns, true}; }

std::vector<Table> buildTables()
{
    return {
        // ------------------------------------------------------------------
        // Site, workstation and options
        // ------------------------------------------------------------------

        // The business itself (one row): printed on receipts, shown in the caption.
        Table{"Place", DbFile::Main,
              {text("사용처명", 40), text("사업자번호", 12), text("주소"), text("우편번호", 7),
               text("전화번호", 20), text("팩스번호", 20), text("대표자명", 20)},
              {}, {}},

        // One row per workstation, found by its computer name: number, receipt
        // printers, card reader, label printer and camera.
        Table{"Pos", DbFile::Main,
              {text("PcName", 30), integer("PosNo"), text("PosName", 20), yesNoText("PosCour"),
               yesNoText("HeadTitle"), text("PrintMsg"), yesNoText("Cardreader"),
               yesNoText("CardType"), yesNoText("CardPort"), yesNoText("posprint"),
               yesNoText("PrintType"), yesNoText("PrintPort"), yesNoText("posprint2"),
               yesNoText("PrintType2"), yesNoText("PrintPort2"), yesNoText("PrintGroup"),
               yesNoText("InPrint"), yesNoText("chkprint"), yesNoText("InUpdate"),
               yesNoText("BarPrint"), yesNoText("BarPrintType"), yesNoText("BarPrintPort"),
               yesNoText("Cam")},
              {"PcName"},
              {uniq({"PosNo"})}},

        // Centre-wide options, one row with Gubun "1". Rates are percent;
        // the other options are small numeric switches.
        Table{"UserOpt", DbFile::Main,
              {yesNoText("Gubun"), real("UserOpt1_1"), real("UserOpt1_2"), integer("UserOpt2"),
               integer("UserOpt3"), integer("UserOpt4"), integer("UserOpt5"), integer("UserOpt6"),
               integer("UserOpt7"), real("UserOpt7_1"), integer("UserOpt7_5"),
               integer("UserOpt8_1"), integer("UserOpt8_2"), integer("UserOpt8_3"),
               integer("UserOpt8_4"), integer("UserOpt8_5"), integer("UserOpt8_6"),
               integer("UserOpt8_7"), text("UserTxt7"), text("UserTxt8"), text("UserTxt9"),
               text("UserTxt10")},
              {"Gubun"}, {}},

        // Default window of the daily closing ("hh:mm"), and the difference
        // between counted and recorded money above which a shift's close needs
        // a reason.
        Table{"UserEnv", DbFile::Main, {hourMinute("fTime1"), hourMinute("fTime2"), amount("fDiffAmt")}, {}, {}},

        // Version of the schema stored in this database.
        Table{"DbVersion", DbFile::Main, {integer("Version")}, {}, {}},

        // One row per kind of running number (data/numbering.h): the row an
        // action locks while it takes a number, and the highest number in use
        // that the column's index does not show (codes of other widths).
        Table{"NumberCounter", DbFile::Main, {text("CounterKey"), integer("LastNo", QStringLiteral("0"))},
              {"CounterKey"}, {}},

        // ------------------------------------------------------------------
        // Users, grades and permissions
        // ------------------------------------------------------------------

        // Users: staff code (written into every LastUser), login, grade.
        // UserPass holds a password hash, hence unbounded.
        Table{"UserM", DbFile::Main,
              {staffCode("PsCode"), text("UserID", 20), text("UserPass"), text("UserName", 40),
               text("GrCode", 1), yesNoText("Uuse")},
              {"PsCode"},
              {uniq({"UserID"})}},

        Table{"GradeM", DbFile::Main, {text("GrCode", 1), text("GrName", 40)}, {"GrCode"}, {}},

        // The programs (screens) that can be granted, and their menu groups.
        Table{"PgList", DbFile::Main,
              {text("PgID", 2), text("PgBun", 2), text("PgName", 40), yesNoText("UUSE")},
              {"PgID"}, {}},
        Table{"PgListM", DbFile::Main, {text("PgBun", 2), text("BunName", 40)}, {"PgBun"}, {}},

        // Programs granted to a grade; the main menu enables exactly these.
        Table{"Grade", DbFile::Main,
              {text("GrCode", 1), text("PgID", 2), text("PgBun", 2), text("PgName", 40),
               yesNoText("UUse")},
              {"GrCode", "PgID"}, {}},

        // Per-user copy of the grade's programs, written when a user is created.
        Table{"UserPG", DbFile::Main,
              {text("UserID", 20), text("PgID", 2), yesNoText("UUse")},
              {},
              {idx({"UserID"})}},

        // Staff list offered when a user is created.
        Table{"Person", DbFile::Main,
              {staffCode("Pscode"), text("Psname", 40), yesNoText("resign")},
              {"Pscode"}, {}},

        // ------------------------------------------------------------------
        // Classification and code tables
        // ------------------------------------------------------------------

        // Course items (group "P") and goods classes (group "S"), with the month
        // counts that may be sold and the changes an enrollment allows.
        Table{"Course", DbFile::Main,
              {text("PsGroup", 1), text("Code", 1), text("Name", 40),
               flag("mon1"), flag("mon2"), flag("mon3"), flag("mon4"), flag("mon5"), flag("mon6"),
               flag("mon7"), flag("mon8"), flag("mon9"), flag("mon10"), flag("mon11"),
               flag("mon12"), flag("UseCancel"), flag("UseDelay"), flag("UseTransfer"),
               integer("PosNo")},
              {"PsGroup", "Code"}, {}},

        // Large, middle and small classes under a course item.
        Table{"Lclass", DbFile::Main,
              {text("PSGroup", 1), text("Course", 1), text("Lclass", 2), text("LclassN", 40)},
              {"PSGroup", "Course", "Lclass"}, {}},
        Table{"Mclass", DbFile::Main,
              {text("PSGroup", 1), text("Course", 1), text("Lclass", 2), text("Mclass", 2),
               text("MclassN", 40), yesNoText("UUSE")},
              {"PSGroup", "Course", "Lclass", "Mclass"}, {}},
        Table{"Sclass", DbFile::Main,
              {text("PsGroup", 1), text("Course", 1), text("Sclass", 2), text("SclassN", 40)},
              {"PsGroup", "Course", "Sclass"}, {}},

        // Member kinds with their discount rate, and card companies with theirs.
        Table{"MbGubun", DbFile::Main,
              {text("Code", 1), text("Name", 40), real("Rate")}, {"Code"}, {}},
        Table{"Card", DbFile::Main,
              {text("Code", 1), text("Name", 40), real("yul")}, {"Code"}, {}},

        // Age bands: age1 <= age <= age2 gives the band code.
        Table{"Age", DbFile::Main,
              {text("Code", 2), text("Name", 40), integer("age1"), integer("age2")},
              {"Code"}, {}},

        // Residential areas, discount kinds, e-mail domains, rooms.
        Table{"Area", DbFile::Main, {text("Area", 4), text("AreaName", 40)}, {"Area"}, {}},
        Table{"DisCount", DbFile::Main, {text("Code", 2), text("Name", 40)}, {"Code"}, {}},
        Table{"Email", DbFile::Main, {text("Code", 2), text("Name", 60)}, {"Code"}, {}},
        Table{"Room", DbFile::Main, {text("RCode", 4), text("RName", 40)}, {"RCode"}, {}},

        // ------------------------------------------------------------------
        // Programs and instructors
        // ------------------------------------------------------------------

        // One class that can be enrolled: period (1), time-based (2) or box (3).
        // The weekday flags are also the days on which the gate admits.
        Table{"Program", DbFile::Main,
              {idCol("Pgid"), text("PgGubun", 1), text("Course", 1), text("Lclass", 2),
               text("Mclass", 2), text("Sclass", 2), text("PgCode", 7), text("PgName", 60),
               hourMinute("Time1"), hourMinute("Time2"),
               flag("Mon"), flag("Tue"), flag("Wed"), flag("Thu"), flag("Fri"), flag("Sat"),
               flag("Sun"), staffCode("LtCode"), text("LTName", 40), count("MaxNum"),
               yesNoText("MaxNumChk"), yesNoText("PgUse"), date("Sdate"), month("yymm"),
               count("PgCnt1"), count("PgCnt"), text("PgTag", 20)},
              {},
              {idx({"Course"}), idx({"LtCode"})}},

        // Fee table: one row per program and month count, three fee levels.
        Table{"ProgAmt", DbFile::Main,
              {idCol("PgId1"), integer("Pgid"), count("MonthCnt"), amount("Amt1"),
               amount("Amt2"), amount("Amt3")},
              {},
              {idx({"Pgid"})}},

        Table{"Lecturer", DbFile::Main,
              {staffCode("LTcode"), text("LTName", 40), text("Tel", 20), text("Course", 1),
               yesNoText("Resign")},
              {"LTcode"}, {}},

        // ------------------------------------------------------------------
        // Members
        // ------------------------------------------------------------------

        // One row per member. Point is the balance of the point ledger,
        // MisuAmt the outstanding amount; both are recomputed, never typed.
        // LastDate/LastTime are the last visit; Area "999" marks a master card.
        Table{"Member", DbFile::Main,
              {memberCode(), text("MbName", 40), text("MbName1", 40), text("Juno1", 6),
               text("Juno2", 7), integer("Age"), text("Sex", 1), text("Tel1", 20),
               text("Tel2", 20), text("Tel3", 20), date("Indate"), text("Email1", 60),
               text("PostNo", 7), text("Addr1"), text("Addr2"), date("BirthDay"),
               yesNoText("Solor"), text("MbGubun", 1), text("MbCard", 20), text("Ext"),
               yesNoText("Dm"), yesNoText("SMS"), amount("MisuAmt"), amount("Point"),
               date("LastDate"), timeOfDay("LastTime"), text("Area", 4)},
              {"MbCode"},
              {idx({"MbCard"}), idx({"MbName"}), idx({"Tel1"}), idx({"Tel2"}), idx({"Tel3"}), idx({"MbName", "MbCode"})}},

        // Pieces of members' names and telephone numbers, kept by triggers on
        // Member (data/membergrams.h): the substring index of the desk's search.
        Table{"MemberGram", DbFile::Main, {text("Gram", 8), memberCode()}, {"Gram", "MbCode"}, {}},

        // Member days, read by the member list.
        Table{"Mday", DbFile::Main, {memberCode(), date("Mday")}, {}, {idx({"MbCode"})}},

        // ------------------------------------------------------------------
        // Enrollments
        // ------------------------------------------------------------------

        // One row per enrollment event. LtGubun "1" is the enrollment (or a
        // payment row when PgGubun is "4"); "0", "2", "3", "4" are dependent
        // rows pointing to their base through BLtid, and the base points to its
        // latest dependent row of each kind through Transfer, Change, Delay,
        // Cancel. Sdate1..Sdate2 is the current period, ddate1..ddate2 the
        // period as first sold; fDate is stamped by the daily closing.
        Table{"Lecture", DbFile::Main,
              {idCol("Ltid"), text("LtGubun", 1), text("PgGubun", 1),
               memberCode(), text("MbName", 40), text("Sex", 1), text("MbGubun", 1),
               integer("Age"), text("AgeGubun", 2),
               integer("Pgid"), text("PgCode", 7), text("PgName", 60), text("Course", 1),
               text("Lclass", 2), text("Mclass", 2), text("Sclass", 2), hourMinute("Time1"),
               hourMinute("Time2"), staffCode("LtCode"),
               rowLink("Bpgid"), memberCode("BMbCode"), rowLink("BLtid"),
               date("RqDate"), date("Sdate1"), date("Sdate2"), date("ddate1"), date("ddate2"),
               month("LTyymm"), count("MonthCnt"), yesNoText("AmtGubun"), yesNoText("Lectgubun"),
               yesNoText("DcGubun"), amount("DcAmt"), real("DcYul"),
               amount("TAmt"), amount("CashAmt"), amount("CardAmt"), text("Card", 1),
               amount("MisuAmt"),
               count("PgCnt"), count("PgCnt1"), count("uPgCnt"),
               rowLink("Delay"), rowLink("Cancel"), rowLink("Transfer"), rowLink("Change"),
               count("Rday"), text("Remark"), date("fDate"),
               staffCode("LastUser"), date("LastDate"), timeOfDay("LastTime")},
              {},
              {idx({"MbCode", "Sdate2"}), idx({"Pgid"}), idx({"Sdate1", "Sdate2"}),
               idx({"Sdate2"}), idx({"BLtid"}), idx({"RqDate"}), idx({"fDate"}),
               idx({"LTyymm"}), idx({"Course", "Sdate2"}),
               // A member's last enrollment month from the index alone (the
               // locker rental status reads it for every renter).
               idx({"MbCode", "LTyymm"}),
               // What each member owes and paid, summed from the index alone
               // in member order (the unpaid members report).
               idx({"MbCode", "TAmt", "CashAmt", "CardAmt"})}},

        // The waiting list of a full program: members in the order they
        // asked (WaitSeq), each program once per member. A member leaves it
        // when enrolled into the program or taken off by the desk.
        Table{"WaitList", DbFile::Main,
              {idCol("WlId"), integer("Pgid"), memberCode(), date("WaitDate"), count("WaitSeq"),
               text("Remark"), staffCode("LastUser"), date("LastDate"), timeOfDay("LastTime")},
              {},
              {uniq({"Pgid", "MbCode"}), idx({"MbCode"})}},

        // ------------------------------------------------------------------
        // Entrance (entrance database)
        // ------------------------------------------------------------------

        // One visit. OutTime stays empty while a time-based member is inside;
        // uTime is the minutes used, written at check-out.
        Table{"entrance", DbFile::Entrance,
              {idCol("Entid"), date("InDate"), hourMinute("InTime"), hourMinute("OutTime"),
               text("PgGubun", 1), memberCode(), text("MbCard", 20), integer("Ltid"),
               integer("Pgid"), text("Course", 1), count("uTime"), text("Memo")},
              {},
              {idx({"InDate"}), idx({"MbCode", "InDate"}), idx({"Ltid", "InDate"}),
               // The visits of a period counted per day and member, and per
               // course item, from the index alone.
               idx({"InDate", "MbCode", "Course"})}},

        // Equipment handed out on a visit.
        Table{"ItemTrs", DbFile::Entrance,
              {idCol("Id"), integer("Entid"), integer("ItId")},
              {},
              {idx({"Entid"})}},

        // ------------------------------------------------------------------
        // Points (point database)
        // ------------------------------------------------------------------

        // One ledger row per paid item; JoinId is the id of the paid row in
        // its own table (Lecture.Ltid or Sale.Slid), PgGubun says which.
        Table{"UserPoint", DbFile::Point,
              {idCol("Ptid"), memberCode(), text("MbName", 40), date("pDate"),
               text("PgGubun", 1), integer("JoinId"), text("Remark"), amount("Amount"),
               real("PointYul"), amount("uPoint"), amount("mPoint")},
              {},
              {uniq({"MbCode", "PgGubun", "JoinId"}), idx({"JoinId", "PgGubun"})}},

        // ------------------------------------------------------------------
        // Postal codes (postal-code database)
        // ------------------------------------------------------------------

        Table{"Post", DbFile::Post,
              {idCol("ID"), text("PostNum", 7), text("SiDo", 20), text("GuGun", 30),
               text("Dong", 40), text("RI", 40), text("Bunji", 40), text("Area", 20),
               yesNoText("Tflag")},
              {},
              {idx({"Dong"})}},

        // ------------------------------------------------------------------
        // Goods and sales
        // ------------------------------------------------------------------

        // A sellable item. ItCode is course + small class + "-" + running
        // number; Inwon "1" marks entry tickets counted as visitors.
        Table{"Item", DbFile::Main,
              {idCol("ItId"), text("ItCode", 8), text("Course", 1), text("Sclass", 2),
               text("Lclass", 2), text("Mclass", 2), text("ItName", 60), amount("ItAmt"),
               text("BarCode", 30), yesNoText("ItUse"), integer("Color"), yesNoText("Inwon")},
              {},
              {idx({"BarCode"}), uniq({"ItCode"}), idx({"Course", "Sclass", "ItName"})}},

        // One line of a voucher; the lines sharing SlDate, LastUser and SlNo
        // form the voucher, whose payment stands on its first line (SEQ 1).
        // Every line of a refund voucher holds in RfSlId the first line of the
        // voucher it refunds (NULL on every other line), so a voucher is
        // refunded once.
        Table{"Sale", DbFile::Main,
              {idCol("SlId"), text("SlNo", 4), integer("SEQ"), integer("ItId"), text("ItCode", 8),
               text("Course", 1), text("Lclass", 2), text("Mclass", 2), text("Sclass", 2),
               date("SlDate"), month("Slyymm"), memberCode(),
               count("Slqty"), amount("SlCost"), amount("SlAmt1"), real("DcYul"),
               amount("DcAmt"), yesNoText("DcGubun"), amount("SlAmt"), amount("CashAmt"),
               amount("CardAmt"), amount("SLTAmt"), yesNoText("CardChk"), text("CardGubun", 1),
               yesNoText("CashChk"), amount("MisuAmt"), yesNoText("FnChk"), date("SlfDate"),
               integer("PosNo"), yesNoText("Reprint"), staffCode("LastUser"),
               timeOfDay("LastTime"), integer("RfSlId")},
              {},
              {uniq({"SlDate", "LastUser", "SlNo", "SEQ"}), idx({"MbCode"}), idx({"SlfDate"}), idx({"ItId"}),
               uniq({"RfSlId", "SEQ"}), idx({"SlDate", "LastTime"})}},

        // ------------------------------------------------------------------
        // Lockers
        // ------------------------------------------------------------------

        // Locker groups with their deposit and monthly fee.
        Table{"PerBox", DbFile::Main,
              {text("BoxCode", 4), text("BoxName", 40), text("Course", 1), amount("Samt"),
               amount("Uamt"), count("MonCnt")},
              {"BoxCode"}, {}},

        // Single lockers and their current rental.
        Table{"PerBoxS", DbFile::Main,
              {text("BoxCode", 4), integer("BoxNum"), yesNoText("State"), yesNoText("UUse"),
               memberCode(), date("StDate"), date("EndDate"), count("MonCnt"),
               staffCode("LastUser"), date("LastDate"), timeOfDay("LastTime")},
              {"BoxCode", "BoxNum"},
              {idx({"MbCode"})}},

        // One row per locker transaction (new, change, renewal, cancellation,
        // release). BoxNum is the number as text, RqBox the same as a number.
        Table{"RqPerBox", DbFile::Main,
              {idCol("Rqid"), date("RqDate"), memberCode(), text("BoxCode", 4),
               text("BoxNum", 6), yesNoText("RqGubun"), integer("RqBox"), date("UseDate1"),
               date("UseDate2"), date("LUseDate1"), count("MonCnt"), amount("Samt"),
               amount("Uamt"), amount("Ramt"), date("fDate"), staffCode("LastUser"),
               date("LastDate"), timeOfDay("LastTime")},
              {},
              {idx({"MbCode"}), idx({"RqDate"}), idx({"BoxCode", "RqBox"}), idx({"fDate"})}},

        // Deposit records; only emptied by the maintenance deletion.
        Table{"Deposit", DbFile::Main,
              {idCol("DpId"), memberCode(), date("DpDate"), amount("Amt"), text("Remark"),
               staffCode("LastUser"), date("LastDate"), timeOfDay("LastTime")},
              {},
              {idx({"MbCode"})}},

        // ------------------------------------------------------------------
        // Closing
        // ------------------------------------------------------------------

        // One row per shift closing (FnCnt "1", "2", ...) or daily closing
        // (FnCnt "0"); fDate is "0000-00-00" until the daily closing counts
        // the shift. Remark is the reason given for a difference.
        Table{"Finish", DbFile::Main,
              {idCol("Fnid"), date("fDate"), text("FnCnt", 3), yesNoText("FnChk"),
               date("sDate1"), timeOfDay("Time1"), date("sDate2"), timeOfDay("Time2"),
               staffCode("PsCode"), integer("PosNo"), amount("BefAmt"), count("TotCnt"),
               amount("CashAmt1"), amount("CardAmt1"), amount("TotAmt1"),
               amount("CashAmt2"), amount("CardAmt2"), amount("TotAmt2"),
               amount("CashAmt3"), amount("CardAmt3"), amount("TotAmt3"),
               amount("CashAmt4"), amount("TotAmt4"), text("Remark")},
              {},
              {idx({"fDate", "FnCnt"}), idx({"PsCode", "fDate"})}},

        // The notes and coins counted when a shift was closed: Unit is the
        // denomination in won.
        Table{"FinishCash", DbFile::Main,
              {integer("Fnid"), amount("Unit"), count("Qty")},
              {"Fnid", "Unit"}, {}},

        // ------------------------------------------------------------------
        // Cash book
        // ------------------------------------------------------------------

        // Accounts: kind digit + running number ("100", "101", "200" ...).
        Table{"계정과목", DbFile::Main,
              {text("과목코드", 3), text("과목명", 12), yesNoText("과목구분"), yesNoText("금액구분")},
              {"과목코드"}, {}},

        // Numbered standard descriptions of an account.
        Table{"적요코드", DbFile::Main,
              {text("과목코드", 3), integer("적요코드"), text("적요", 30)},
              {"과목코드", "적요코드"}, {}},

        // Cash book entries; 순번 is given by the database and addresses an
        // entry together with its date. The amount stands in 수입 or 지출.
        Table{"수입지출", DbFile::Main,
              {date("일자"), month("년월"), idCol("순번"), text("과목코드", 3), yesNoText("과목구분"),
               text("과목명", 12), yesNoText("금액구분"), text("적요", 30), amount("수입"),
               amount("지출"), amount("잔액")},
              {},
              // By day and entry, with the amounts: a balance brought forward
              // is summed from the index alone.
              {idx({"일자", "순번", "수입", "지출"}), idx({"과목코드"})}},

        // ------------------------------------------------------------------
        // Staff diary
        // ------------------------------------------------------------------

        // ScGubun "0" common, "1" personal; times are slots such as "오전 09:30".
        Table{"Schedule", DbFile::Main,
              {idCol("ScID"), date("ScDate"), text("ScTime1", 8), text("ScTime2", 8),
               yesNoText("ScGubun"), staffCode("ScUserCode"), text("ScTit", 100),
               text("ScDetail")},
              {},
              {idx({"ScDate"})}},

        // ------------------------------------------------------------------
        // Mailing labels (local print database)
        // ------------------------------------------------------------------

        // Emptied and filled for each label run; 순서 is the label position.
        Table{"DM인쇄", DbFile::Print,
              {text("성명", 40), text("주소"), text("번지"), text("우편번호", 20),
               integer("순서"), text("존칭", 20)},
              {}, {}},

        // The SMS provider's tables are not ours: they live in the provider's
        // database, described in messaging/smsschema.cpp.
    };
}

} // namespace

const std::vector<Table> &allTables()
{
    static const std::vector<Table> tables = buildTables();
    return tables;
}

} // namespace fitrova
