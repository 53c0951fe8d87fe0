#include "db/BookingWindows.h"

#include <algorithm>
#include <optional>

#include "db/InvoiceCursor.h"
#include "db/KeyedRows.h"
#include "db/Relation.h"
#include "db/RowReaders.h"
#include "db/TravelTypes.h"
#include "db/ValueReads.h"

namespace iex::db {
namespace {

const std::string kAgentBookingLinks =
    "LEFT JOIN AGENTBKG A ON A.AGENTBKGNO = I.FIRSTINSIDEAGENTBKG_LINKNO OR A.AGENTBKGNO = I.FIRSTOUTSIDEAGENTBKG_LINKNO";
const std::string kReservationLinks = "LEFT JOIN RESCARDRESERVATION R ON R.RESERVATIONNO = B.RESERVATION_LINKNO";
const std::string kPayDetailLinks = "LEFT JOIN PAYDTL PD ON PD.BOOKING_LINKNO = B.BOOKINGNO";

TRelation Clients() {
  return {"PROFILE P", "P.PROFILENO", "P.PROFILENO, P.PROFILETYPE_LINKCODE, P.INTERFACEID", "", true,
          "LEFT JOIN PROFILE P ON P.PROFILENO = I.CLIENT_LINKNO"};
}
TRelation AgentBookings() { return {"AGENTBKG A", "A.AGENTBKGNO", "A.AGENTBKGNO, A.AGENT_LINKNO", "", true, kAgentBookingLinks}; }
TRelation Agents() {
  return {"PROFILE P", "P.PROFILENO", "P.PROFILENO, P.INTERFACEID", "", true,
          kAgentBookingLinks + " LEFT JOIN PROFILE P ON P.PROFILENO = A.AGENT_LINKNO"};
}
TRelation Vendors() {
  return {"PROFILE P", "P.PROFILENO", "P.PROFILENO, P.AIRLINENO, P.NAME, P.INTERFACEID", "", false,
          "LEFT JOIN PROFILE P ON P.PROFILENO = B.VENDOR_LINKNO"};
}
// Followed by links, a reservation brings its card along.
TRelation Reservations(bool newDestTable) {
  return {"RESCARDRESERVATION R", "R.RESERVATIONNO", "R.RESERVATIONNO, R.RESCARD_LINKNO, R.SOURCEOFBOOKING, R.RESDATE",
          "", false, kReservationLinks, newDestTable ? "RC.RESCARDNO" : "RC.RESCARDNO, RC.DESTINATIONBYREGION",
          "LEFT JOIN RESCARD RC ON RC.RESCARDNO = R.RESCARD_LINKNO"};
}
TRelation Cards(bool newDestTable) {
  return {"RESCARD RC", "RC.RESCARDNO", newDestTable ? "RC.RESCARDNO" : "RC.RESCARDNO, RC.DESTINATIONBYREGION", "", false,
          kReservationLinks + " LEFT JOIN RESCARD RC ON RC.RESCARDNO = R.RESCARD_LINKNO"};
}
// A card's first destination is its row with the lowest number.
TRelation Destinations() {
  return {"RESCARDDESTINATION D", "D.RESCARD_LINKNO", "D.RESCARD_LINKNO, D.RESCARDDESTINATIONNO, D.DESTINATION",
          "D.RESCARDDESTINATIONNO NULLS LAST", false,
          kReservationLinks + " LEFT JOIN RESCARDDESTINATION D ON D.RESCARD_LINKNO = R.RESCARD_LINKNO"};
}
// A detail without a payment comes last: it must not hide the one with a card or cheque.
const std::string kPaymentLinks = "LEFT JOIN PAYMENT PY ON PY.PAYMENTNO = PD.PAYMENT_LINKNO";
std::string PaymentColumns(bool isCCEncrypt) {
  return std::string("PY.PAYMENTNO, PY.PAYMETHOD_LINKNO, PY.CKCCNO") + (isCCEncrypt ? ", PY.CKCCNOENCRYPT" : "");
}
// Followed by links, a payment detail brings its payment along.
TRelation PayDetails(bool isCCEncrypt) {
  return {"PAYDTL PD", "PD.BOOKING_LINKNO", "PD.BOOKING_LINKNO, PD.PAYMENT_LINKNO", "PD.PAYMENT_LINKNO NULLS LAST", false,
          kPayDetailLinks, PaymentColumns(isCCEncrypt), kPaymentLinks};
}
TRelation Payments(bool isCCEncrypt) {
  return {"PAYMENT PY", "PY.PAYMENTNO", PaymentColumns(isCCEncrypt), "", false, kPayDetailLinks + " " + kPaymentLinks};
}
TRelation Segments() {
  return {"SEGMENTS S", "S.BOOKING_LINKNO",
          "S.BOOKING_LINKNO, S.SEGMENTNO, S.INDEXNO, S.AIRLINE, S.FLIGHTNO, S.CONNECTION, S.DEPARTCITY, S.ARRIVECITY, "
          "S.DEPARTDATETIME, S.ARRIVEDATETIME, S.FAREBASIS, S.FARE, S.CLASSOFSVC",
          "S.INDEXNO, S.SEGMENTNO", false, "LEFT JOIN SEGMENTS S ON S.BOOKING_LINKNO = B.BOOKINGNO"};
}
TRelation Udids() {
  return {"UDIDS U", "U.BOOKING_LINKNO", "U.BOOKING_LINKNO, U.UDIDNO, U.UDID", "U.UDIDNO, U.UDID", false,
          "LEFT JOIN UDIDS U ON U.BOOKING_LINKNO = B.BOOKINGNO"};
}

const char* const kBookingSelect =
    "SELECT B.INVOICE_LINKNO, B.BOOKINGNO, B.VENDOR_LINKNO, B.RESERVATION_LINKNO, B.TRAVELTYPE_LINKNO, "
    "B.SUBMITTO_LINKCODE, B.PASSENGERNAME, B.CALCBASEFARE, B.COMMRATE, B.COMMAMT, B.STARTINGTICKETNO, B.CONFIRMNO, "
    "B.DEPARTDATE, B.RETURNDATE, B.ETICKETIND, B.ENDINGTICKETNO, B.INTER_LINKCODE, B.HIGHFARE, B.LOWFARE, B.TAX1AMT, "
    "B.TAX2AMT, B.TAX3AMT, B.TAX4AMT FROM BOOKING B";

// The values of linked rows the booking line shows, with the columns that
// lost characters to the code page.
struct TClientRow {
  std::string type, interfaceId;
  TLossyColumns lossy;
};
struct TVendorRow {
  std::string airlineNo, name, interfaceId;
  TLossyColumns lossy;
};
struct TTextRow {  // an agent's identifier, a card's first destination
  std::string text;
  bool lossy = false;
};
struct TReservationRow {
  std::optional<int32_t> card;
  std::string source;
  double resDate = 0;
  TLossyColumns lossy;
};
struct TCardRow {
  std::string number, destination;
  bool numberLossy = false, destinationLossy = false;
};

// A booking row of the window with its links, before the linked rows are read.
struct TBookingPart {
  std::size_t invoice = 0;  // in the window's invoices
  std::optional<int32_t> key, vendor, reservation, travelType;
  int32_t category = 0;  // of its travel type, which orders rows of one booking
  TBookingRecord record;
};

void Append(TLossyColumns& to, const TLossyColumns& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace

struct TBookingWindows::State {
  explicit State(TTransaction& tr)
      : tr(tr), invoiceCursor(tr), bookingRange(tr), bookingList(tr), clients(tr, Clients()), agentBookings(tr, AgentBookings()),
        agents(tr, Agents()), vendors(tr, Vendors()), destinations(tr, Destinations()), segments(tr, Segments()),
        udids(tr, Udids()) {}

  TTransaction& tr;
  TInvoiceCursor invoiceCursor;
  TQuery bookingRange, bookingList;
  TRelationReader clients, agentBookings, agents, vendors;
  // Their columns follow the schema and the card setting.
  std::optional<TRelationReader> reservations, cards, payDetails, payments;
  TRelationReader destinations, segments, udids;
  TTravelTypes travelTypes;
  bool newDestTable = false, isCCEncrypt = false;

  // One window.
  std::vector<TInvoicePart> invoices;
  TWindow window;
  std::vector<TBookingPart> parts;
  std::vector<std::size_t> order;  // of the parts, in file order
  bool uniqueBookings = true;
  TKeySet keys;
  TKeyedRows<TClientRow> clientRows;
  TKeyedRows<std::optional<int32_t>> agentBookingRows;
  TKeyedRows<TTextRow> agentRows;
  TKeyedRows<TVendorRow> vendorRows;
  TKeyedRows<TReservationRow> reservationRows;
  TKeyedRows<TCardRow> cardRows;
  TKeyedRows<TTextRow> destinationRows;
  TKeyedRows<std::optional<int32_t>> payDetailRows;
  TKeyedRows<TPaymentRow> paymentRows;
  TKeyedRows<TSegmentRow> segmentRows;
  TKeyedRows<TUdidRow> udidRows;
  std::vector<std::pair<int32_t, std::size_t>> partOfBooking;  // booking key, part: names the invoice in errors

  std::vector<TBookingRecord> ready;
  std::size_t next = 0;

  bool ReadWindow();
  void ReadBookings();
  void ReadLinkedRows();
  void Assemble();
  const std::string& InvoiceNumberOfBooking(int32_t booking) const;

  // Reads the rows of `reader` for the keys gathered in `keys`, each wanted
  // row once into `rows` by `read`.
  // `rider`, when the links were followed, reads the tables that came along.
  template <typename Row, typename Read>
  TFetchWay Fetch(TRelationReader& reader, TKeyedRows<Row>& rows, bool linksAllowed, Read read,
                  const TRelationReader::TRowFn& rider = {}) {
    rows.Clear();
    keys.Seal();
    const std::vector<int32_t>& wanted = keys.Keys();
    const TFetchWay way = reader.Read(
        keys, window, linksAllowed,
        [&](const TQuery& q) {
          const int32_t key = q.Field(0).AsInteger();
          if (std::binary_search(wanted.begin(), wanted.end(), key)) read(q, rows.Add(key), key);
        },
        rider);
    rows.Seal();
    keys.Clear();
    return way;
  }
};

TBookingWindows::TBookingWindows(TTransaction& tr, std::size_t windowLimit) : s_(std::make_unique<State>(tr)) {
  s_->window.limit = windowLimit;
}
TBookingWindows::~TBookingWindows() { Close(); }

void TBookingWindows::Open(const TInvoiceFilter& filter, bool newDestTable, bool isCCEncrypt) {
  State& s = *s_;
  s.newDestTable = newDestTable;
  s.isCCEncrypt = isCCEncrypt;
  s.reservations.emplace(s.tr, Reservations(newDestTable));
  s.cards.emplace(s.tr, Cards(newDestTable));
  s.payDetails.emplace(s.tr, PayDetails(isCCEncrypt));
  s.payments.emplace(s.tr, Payments(isCCEncrypt));
  s.travelTypes.Load(s.tr);
  s.bookingRange.SetSQL({kBookingSelect, "WHERE B.INVOICE_LINKNO BETWEEN :LO AND :HI"});
  s.bookingList.SetSQL({kBookingSelect, "WHERE B.INVOICE_LINKNO IN (" + ListParams(TWindow::kMaxList) + ")"});
  s.ready.clear();
  s.next = 0;
  s.invoiceCursor.Open(filter);
}

bool TBookingWindows::Next(TBookingRecord& record) {
  State& s = *s_;
  while (s.next == s.ready.size()) {
    if (!s.ReadWindow()) return false;
  }
  std::swap(record, s.ready[s.next++]);
  return true;
}

void TBookingWindows::Close() noexcept {
  State& s = *s_;
  s.invoiceCursor.Close();
  s.bookingRange.Close();
  s.bookingList.Close();
  for (TRelationReader* r : {&s.clients, &s.agentBookings, &s.agents, &s.vendors, &s.destinations, &s.segments, &s.udids})
    r->Close();
  for (auto* r : {&s.reservations, &s.cards, &s.payDetails, &s.payments})
    if (*r) (*r)->Close();
}

bool TBookingWindows::State::ReadWindow() {
  ready.clear();
  next = 0;
  if (!invoiceCursor.Next(invoices, window)) return false;
  ReadBookings();
  ReadLinkedRows();
  Assemble();
  return true;
}

void TBookingWindows::State::ReadBookings() {
  parts.clear();
  TQuery& q = window.list ? bookingList : bookingRange;
  BindWindow(q, window);
  q.ExecQuery();
  std::vector<std::optional<int32_t>> seen;
  for (; !q.Eof(); q.Next()) {
    const int32_t invoiceKey = q.Field(0).AsInteger();
    const std::optional<int32_t> key = ReadKey(q, 1);
    seen.push_back(key);
    if (!window.Holds(invoiceKey)) continue;  // in the range, not selected
    TBookingPart& p = parts.emplace_back();
    p.invoice = static_cast<std::size_t>(
        std::lower_bound(window.keys.begin(), window.keys.end(), invoiceKey) - window.keys.begin());
    p.key = key;
    p.vendor = ReadKey(q, 2);
    p.reservation = ReadKey(q, 3);
    p.travelType = ReadKey(q, 4);
    TBookingRecord& r = p.record;
    const TInvoicePart& invoice = invoices[p.invoice];
    const std::string where = "invoice " + invoice.invoiceNumber;
    auto text = [&](int col, const char* name) { return ReadText(q, col, name, r.lossy); };
    auto amount = [&](int col, const char* name) { return ReadAmount(q, col, name, where); };
    r.bookingNo = key.value_or(0);
    r.submitTo = text(5, "SUBMITTO_LINKCODE");
    r.passengerName = text(6, "PASSENGERNAME");
    r.calcBaseFare = amount(7, "CALCBASEFARE");
    r.commRate = amount(8, "COMMRATE");
    r.commAmt = amount(9, "COMMAMT");
    r.startingTicketNo = text(10, "STARTINGTICKETNO");
    r.confirmNo = text(11, "CONFIRMNO");
    r.departDate = q.Field(12).AsDateTime();
    r.returnDate = q.Field(13).AsDateTime();
    r.eticketInd = ReadWholeOrNone(q, 14);
    r.ticketRange = ReadDifference(q, 10, 15);
    r.interCode = text(16, "INTER_LINKCODE");
    r.highFare = amount(17, "HIGHFARE");
    r.lowFare = amount(18, "LOWFARE");
    r.tax1 = amount(19, "TAX1AMT");
    r.tax2 = amount(20, "TAX2AMT");
    r.tax3 = amount(21, "TAX3AMT");
    r.tax4 = amount(22, "TAX4AMT");
    r.travelTypeNo = p.travelType.value_or(0);
    if (p.travelType)
      if (const TTravelTypes::Type* type = travelTypes.Find(*p.travelType)) p.category = type->category;
  }
  q.Close();
  // Links from bookings that share a key would give their rows twice.
  std::sort(seen.begin(), seen.end());
  uniqueBookings = std::adjacent_find(seen.begin(), seen.end()) == seen.end();
}

void TBookingWindows::State::ReadLinkedRows() {
  for (const TInvoicePart& i : invoices)
    if (i.client) keys.Add(*i.client);
  Fetch(clients, clientRows, true, [](const TQuery& q, TClientRow& r, int32_t) {
    r.type = ReadText(q, 1, "PROFILETYPE_LINKCODE", r.lossy);
    r.interfaceId = ReadText(q, 2, "CLIENTINTERFACEID", r.lossy);
  });

  for (const TInvoicePart& i : invoices) {
    if (i.insideAgentBkg) keys.Add(*i.insideAgentBkg);
    if (i.outsideAgentBkg) keys.Add(*i.outsideAgentBkg);
  }
  Fetch(agentBookings, agentBookingRows, true,
        [&](const TQuery& q, std::optional<int32_t>& agent, int32_t) { agent = ReadKey(q, 1); });
  for (const TInvoicePart& i : invoices)
    for (const auto& link : {i.insideAgentBkg, i.outsideAgentBkg})
      if (link)
        if (const auto* agent = agentBookingRows.First(*link); agent && *agent) keys.Add(**agent);
  Fetch(agents, agentRows, true, [](const TQuery& q, TTextRow& r, int32_t) {
    TLossyColumns lossy;
    r.text = ReadText(q, 1, "INTERFACEID", lossy);
    r.lossy = !lossy.empty();
  });

  for (const TBookingPart& p : parts)
    if (p.vendor) keys.Add(*p.vendor);
  Fetch(vendors, vendorRows, true, [](const TQuery& q, TVendorRow& r, int32_t) {
    r.airlineNo = ReadText(q, 1, "AIRLINENO", r.lossy);
    r.name = ReadText(q, 2, "NAME", r.lossy);
    r.interfaceId = ReadText(q, 3, "VENDORINTERFACEID", r.lossy);
  });

  for (const TBookingPart& p : parts)
    if (p.reservation) keys.Add(*p.reservation);
  auto readCard = [&](const TQuery& q, TCardRow& r, int first) {
    TLossyColumns lossy;
    r.number = ReadText(q, first, "RESCARDNO", lossy);
    r.numberLossy = !lossy.empty();
    if (!newDestTable) {
      lossy.clear();
      r.destination = ReadText(q, first + 1, "DESTINATION", lossy);
      r.destinationLossy = !lossy.empty();
    }
  };
  auto readDestination = [](const TQuery& q, TTextRow& r, int col) {
    TLossyColumns lossy;
    r.text = ReadText(q, col, "DESTINATION", lossy);
    r.lossy = !lossy.empty();
  };
  cardRows.Clear();
  const TFetchWay reservationWay = Fetch(
      *reservations, reservationRows, true,
      [](const TQuery& q, TReservationRow& r, int32_t) {
        r.card = ReadKey(q, 1);
        r.source = ReadText(q, 2, "SOURCEOFBOOKING", r.lossy);
        r.resDate = q.Field(3).AsDateTime();
      },
      [&](const TQuery& q) {
        if (const std::optional<int32_t> card = ReadKey(q, 4)) readCard(q, cardRows.Add(*card), 4);
      });
  cardRows.Seal();
  auto cardKeys = [&] {
    for (const TBookingPart& p : parts)
      if (p.reservation)
        if (const TReservationRow* r = reservationRows.First(*p.reservation); r && r->card) keys.Add(*r->card);
  };
  if (reservationWay != TFetchWay::Links) {
    cardKeys();
    Fetch(*cards, cardRows, true, [&](const TQuery& q, TCardRow& r, int32_t) { readCard(q, r, 0); });
  }
  if (newDestTable) {
    cardKeys();
    // By the cards' keys, not their links: a card's destinations lie together on its index.
    // Rows without a number come last and are never the first destination.
    Fetch(destinations, destinationRows, false, [&](const TQuery& q, TTextRow& r, int32_t) {
      if (!q.Field(1).IsNull()) readDestination(q, r, 2);
    });
  }

  partOfBooking.clear();
  for (std::size_t i = 0; i < parts.size(); ++i)
    if (parts[i].key) partOfBooking.emplace_back(*parts[i].key, i);
  std::sort(partOfBooking.begin(), partOfBooking.end());
  auto bookingKeys = [&] {
    for (const auto& [key, part] : partOfBooking) keys.Add(key);
  };
  bookingKeys();
  std::optional<TPaymentReader> paymentReader;
  auto readPayment = [&](const TQuery& q, TPaymentRow& r) {
    if (!paymentReader) paymentReader.emplace(q, isCCEncrypt);
    r = paymentReader->Read(q);
  };
  paymentRows.Clear();
  const TFetchWay detailWay = Fetch(
      *payDetails, payDetailRows, uniqueBookings,
      [](const TQuery& q, std::optional<int32_t>& payment, int32_t) { payment = ReadKey(q, 1); },
      [&](const TQuery& q) {
        if (const std::optional<int32_t> payment = ReadKey(q, 2)) readPayment(q, paymentRows.Add(*payment));
      });
  paymentRows.Seal();
  if (detailWay != TFetchWay::Links) {
    for (const auto& [key, part] : partOfBooking)
      for (const auto& [booking, payment] : payDetailRows.All(key))
        if (payment) keys.Add(*payment);
    paymentReader.reset();
    Fetch(*payments, paymentRows, uniqueBookings, [&](const TQuery& q, TPaymentRow& r, int32_t) { readPayment(q, r); });
  }
  bookingKeys();
  std::optional<TSegmentReader> segmentReader;
  Fetch(segments, segmentRows, uniqueBookings, [&](const TQuery& q, TSegmentRow& r, int32_t booking) {
    if (!segmentReader) segmentReader.emplace(q);
    r = segmentReader->Read(q, "invoice " + InvoiceNumberOfBooking(booking));
  });
  bookingKeys();
  std::optional<TUdidReader> udidReader;
  Fetch(udids, udidRows, uniqueBookings, [&](const TQuery& q, TUdidRow& r, int32_t) {
    if (!udidReader) udidReader.emplace(q);
    r = udidReader->Read(q);
  });
}

const std::string& TBookingWindows::State::InvoiceNumberOfBooking(int32_t booking) const {
  const auto it = std::lower_bound(partOfBooking.begin(), partOfBooking.end(), std::make_pair(booking, std::size_t{0}));
  return invoices[parts[it->second].invoice].invoiceNumber;
}

void TBookingWindows::State::Assemble() {
  // Invoice, booking (no number first), then the travel category, as one
  // ordered statement gives them; the parts stay where they are.
  order.resize(parts.size());
  for (std::size_t i = 0; i < parts.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
    const TBookingPart& a = parts[x];
    const TBookingPart& b = parts[y];
    if (a.invoice != b.invoice) return a.invoice < b.invoice;
    if (a.key != b.key) return a.key < b.key;
    return a.category < b.category;
  });
  const TBookingPart* last = nullptr;
  for (const std::size_t i : order) {
    TBookingPart& p = parts[i];
    const TInvoicePart& invoice = invoices[p.invoice];
    // A booking is exported only with its client, travel type, vendor, reservation and card.
    const TClientRow* client = invoice.client ? clientRows.First(*invoice.client) : nullptr;
    const TTravelTypes::Type* type = p.travelType ? travelTypes.Find(*p.travelType) : nullptr;
    const TVendorRow* vendor = p.vendor ? vendorRows.First(*p.vendor) : nullptr;
    const TReservationRow* reservation = p.reservation ? reservationRows.First(*p.reservation) : nullptr;
    const TCardRow* card = reservation && reservation->card ? cardRows.First(*reservation->card) : nullptr;
    if (!client || !type || !vendor || !card) continue;
    // Two rows of one booking key (a table without its primary key): the first stands for it.
    if (last && last->invoice == p.invoice && last->key == p.key) continue;
    last = &p;

    TBookingRecord& r = p.record;
    r.invoiceNo = invoice.invoiceNo;
    r.branch = invoice.branch;
    r.invoiceNumber = invoice.invoiceNumber;
    r.issueDate = invoice.issueDate;
    r.invoiceType = invoice.invoiceType;
    r.recordLocator = invoice.recordLocator;
    r.invoiceGroup = invoice.invoiceGroup;
    r.payStatus = invoice.payStatus;
    TLossyColumns lossy = invoice.lossy;
    r.clientType = client->type;
    r.clientInterfaceId = client->interfaceId;
    Append(lossy, client->lossy);
    Append(lossy, r.lossy);
    r.travelCategory = type->category;
    r.travelType = type->name;
    if (type->nameLossy) lossy.push_back("TRAVELTYPE");
    r.airlineNo = vendor->airlineNo;
    r.vendorName = vendor->name;
    r.vendorInterfaceId = vendor->interfaceId;
    Append(lossy, vendor->lossy);
    r.sourceOfBooking = reservation->source;
    r.resDate = reservation->resDate;
    Append(lossy, reservation->lossy);
    r.rescardNo = card->number;
    if (card->numberLossy) lossy.push_back("RESCARDNO");
    auto agent = [&](const std::optional<int32_t>& link, const char* column) {
      const std::optional<int32_t>* agentKey = link ? agentBookingRows.First(*link) : nullptr;
      const TTextRow* a = agentKey && *agentKey ? agentRows.First(**agentKey) : nullptr;
      if (a && a->lossy) lossy.push_back(column);
      return a ? a->text : std::string();
    };
    r.insideAgentId = agent(invoice.insideAgentBkg, "IAINTERFACEID");
    r.outsideAgentId = agent(invoice.outsideAgentBkg, "OIAINTERFACEID");
    if (newDestTable) {
      const TTextRow* first = destinationRows.First(*reservation->card);
      r.destination = first ? first->text : std::string();
      if (first && first->lossy) lossy.push_back("DESTINATION");
    } else {
      r.destination = card->destination;
      if (card->destinationLossy) lossy.push_back("DESTINATION");
    }
    r.lossy = std::move(lossy);

    r.payments.clear();
    r.segments.clear();
    r.udids.clear();
    if (p.key) {
      for (const auto& [booking, payment] : payDetailRows.All(*p.key)) {
        const TPaymentRow* row = payment ? paymentRows.First(*payment) : nullptr;
        r.payments.push_back(row ? *row : TPaymentRow{});
      }
      for (const auto& [booking, segment] : segmentRows.All(*p.key)) r.segments.push_back(segment);
      for (const auto& [booking, udid] : udidRows.All(*p.key)) r.udids.push_back(udid);
    }
    ready.push_back(std::move(r));
  }
}

}  // namespace iex::db
