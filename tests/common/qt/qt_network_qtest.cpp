// The Qt Network adapters against real sockets on 127.0.0.1: the UDP socket (exclusive bind,
// datagrams whole and at most the buffer's size, sends to dotted IPv4 only), the host-name
// lookup, and the HTTP client's status, body and announced length, including a transfer that
// the server cuts short.
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>
#include <QtTest>

#include <optional>

#include "common/qt/qt_http_client.h"
#include "common/qt/qt_udp_socket.h"
#include "support/qt/local_http_server.h"

namespace duvelin {
namespace {

using testing::HttpAnswer;
using testing::LocalHttpServer;

// A UDP port on 127.0.0.1 that nobody holds right now.
uint16_t FreeUdpPort() {
  QUdpSocket probe;
  probe.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::DontShareAddress);
  return probe.localPort();
}

QByteArray Pattern(qsizetype size) {
  QByteArray bytes(size, Qt::Uninitialized);
  for (qsizetype i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 26);
  return bytes;
}

class QtNetworkTest : public QObject {
  Q_OBJECT

 private slots:
  void udpSocketDeliversEachDatagramWholeUpToItsBuffer() {
    QtUdpSocket socket(64);
    const uint16_t port = FreeUdpPort();
    QVERIFY(socket.Bind(port).ok());
    QCOMPARE(socket.LocalPort(), port);
    std::vector<std::string> received;
    socket.SetDatagramHandler([&](std::string datagram) { received.push_back(std::move(datagram)); });

    QUdpSocket peer;
    const QByteArray longer = Pattern(100);
    for (const QByteArray& datagram :
         {QByteArray("first"), QByteArray("{\"speach\":\"x\"}"), longer, QByteArray("last")})
      peer.writeDatagram(datagram, QHostAddress::LocalHost, port);
    QTRY_VERIFY_WITH_TIMEOUT(!received.empty() && received.back() == "last", 5000);
    // The long one is cut to the buffer; its rest is dropped, not handed on as a datagram.
    QCOMPARE(received,
             (std::vector<std::string>{"first", "{\"speach\":\"x\"}", longer.left(64).toStdString(), "last"}));
  }

  void udpSocketSendsFromItsBoundPort() {
    QtUdpSocket socket;
    const uint16_t port = FreeUdpPort();
    QVERIFY(socket.Bind(port).ok());
    QUdpSocket peer;
    QVERIFY(peer.bind(QHostAddress::LocalHost, 0));
    QVERIFY(socket.SendTo("127.0.0.1", peer.localPort(), "word=apple").ok());
    QTRY_VERIFY_WITH_TIMEOUT(peer.hasPendingDatagrams(), 5000);
    const QNetworkDatagram datagram = peer.receiveDatagram();
    QCOMPARE(datagram.data(), QByteArray("word=apple"));
    QCOMPARE(datagram.senderPort(), int(port));  // so the answer comes back to the listener

    // The answer to the sender's port reaches the handler.
    std::string answer;
    socket.SetDatagramHandler([&](std::string text) { answer = std::move(text); });
    peer.writeDatagram(datagram.makeReply("speach\":\"id"));
    QTRY_COMPARE_WITH_TIMEOUT(answer, std::string("speach\":\"id"), 5000);
  }

  void udpSocketRefusesAPortThatIsTaken() {
    const uint16_t port = FreeUdpPort();
    auto holder = std::make_unique<QtUdpSocket>();
    QVERIFY(holder->Bind(port).ok());
    QtUdpSocket second;
    const Status refused = second.Bind(port);
    QVERIFY(!refused);
    QVERIFY2(refused.message().find("UDP port " + std::to_string(port)) != std::string::npos,
             refused.message().c_str());
    QCOMPARE(second.LocalPort(), uint16_t{0});

    // A socket that goes gives its port up at once; rebinding moves a socket to the new port.
    holder.reset();
    QVERIFY(second.Bind(port).ok());
    const uint16_t other = FreeUdpPort();
    QVERIFY(second.Bind(other).ok());
    QCOMPARE(second.LocalPort(), other);
    QtUdpSocket third;
    QVERIFY(third.Bind(port).ok());
  }

  void udpSocketSendsToDottedIpv4Only_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("empty") << "";
    QTest::newRow("host name") << "localhost";
    QTest::newRow("IPv6") << "::1";
    QTest::newRow("byte above 255") << "127.0.0.256";
    QTest::newRow("text") << "not an address";
  }
  void udpSocketSendsToDottedIpv4Only() {
    QFETCH(QString, address);
    QtUdpSocket socket;
    const Status sent = socket.SendTo(address.toStdString(), 9, "x");
    QVERIFY(!sent);
    QVERIFY2(sent.message().find("not an IPv4 address") != std::string::npos, sent.message().c_str());
  }

  void resolverAnswersTheFirstIpv4Address_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("address");  // empty: an error
    QTest::newRow("dotted address") << "127.0.0.1" << "127.0.0.1";
    QTest::newRow("localhost") << "localhost" << "127.0.0.1";
    QTest::newRow("IPv6 only") << "::1" << "";
    QTest::newRow("empty name") << "" << "";
    QTest::newRow("reserved unknown name") << "no-such-host.invalid" << "";
  }
  void resolverAnswersTheFirstIpv4Address() {
    QFETCH(QString, host);
    QFETCH(QString, address);
    QtHostResolver resolver;
    const Result<std::string> resolved = resolver.ResolveIpv4(host.toStdString());
    if (address.isEmpty()) {
      QVERIFY2(!resolved.ok(), resolved.ok() ? resolved->c_str() : "");
      QVERIFY(!resolved.message().empty());
    } else {
      QVERIFY2(resolved.ok(), resolved.ok() ? "" : resolved.message().c_str());
      QCOMPARE(QString::fromStdString(*resolved), address);
    }
  }

  void httpClientReportsBodyAndAnnouncedLength_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("sent");       // the bytes on the wire after the header
    QTest::addColumn<qint64>("announced");      // Content-Length sent; -1: none
    QTest::addColumn<QByteArray>("encoding");   // Content-Encoding; empty: none
    QTest::addColumn<QByteArray>("body");       // the body the client must report
    QTest::addColumn<qint64>("length");         // the contentLength it must report; -1: none
    const QByteArray whole = Pattern(3000);
    QTest::newRow("whole") << 200 << whole << qint64(3000) << QByteArray() << whole << qint64(3000);
    QTest::newRow("no length, ends with the close")
        << 200 << whole << qint64(-1) << QByteArray() << whole << qint64(-1);
    QTest::newRow("404 is an answer") << 404 << QByteArray("missing") << qint64(7) << QByteArray()
                                      << QByteArray("missing") << qint64(7);
    // The announced length is that of the compressed bytes: it must not be reported for the
    // unpacked body, or a whole download would look cut short.
    const QByteArray packed = qCompress(whole).mid(4);  // a zlib stream
    QTest::newRow("deflate") << 200 << packed << qint64(packed.size()) << QByteArray("deflate") << whole
                             << qint64(-1);
  }
  void httpClientReportsBodyAndAnnouncedLength() {
    QFETCH(int, status);
    QFETCH(QByteArray, sent);
    QFETCH(qint64, announced);
    QFETCH(QByteArray, encoding);
    QFETCH(QByteArray, body);
    QFETCH(qint64, length);
    LocalHttpServer server;
    QVERIFY(server.IsListening());
    HttpAnswer answer{status, sent};
    if (announced >= 0) answer.announced = announced;
    answer.withLength = announced >= 0;
    if (!encoding.isEmpty()) answer.headers.append({"Content-Encoding", encoding});
    server.Answer("/voice/x.mp3?id=1", answer);

    QtHttpClient client;
    std::optional<Result<HttpResponse>> result;
    HttpRequest request;
    request.url = server.Url("/voice/x.mp3?id=1").toStdString();
    request.headers = {{"User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0; Win32)"}, {"Referer", "http://r.invalid/p"}};
    client.Send(request, [&](Result<HttpResponse> response) { result = std::move(response); });
    QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 10000);
    QVERIFY2(result->ok(), result->ok() ? "" : result->message().c_str());
    const HttpResponse& response = **result;
    QCOMPARE(response.status, status);
    QCOMPARE(QByteArray::fromStdString(response.body), body);
    QCOMPARE(response.contentLength.value_or(-1), length);
    QCOMPARE(server.requests.size(), size_t{1});
    QCOMPARE(server.requests[0].headers["user-agent"], QByteArray("Mozilla/4.0 (compatible; MSIE 6.0; Win32)"));
    QCOMPARE(server.requests[0].headers["referer"], QByteArray("http://r.invalid/p"));
  }

  // The server announces 5000 bytes, sends 1000 and closes.
  void httpClientReportsATransferCutShortAsAnError() {
    LocalHttpServer server;
    const QByteArray part = Pattern(1000);
    server.Answer("/cut.mp3", HttpAnswer{200, part, 5000});
    QtHttpClient client;
    std::optional<Result<HttpResponse>> result;
    client.Get(server.Url("/cut.mp3").toStdString(),
               [&](Result<HttpResponse> response) { result = std::move(response); });
    QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 10000);
    QVERIFY2(!result->ok(), result->ok() ? "a cut transfer came as a response" : "");
    QVERIFY(!result->message().empty());
    QCOMPARE(client.PendingCount(), size_t{0});
  }

  void httpClientReportsARefusedConnectionAsAnError() {
    quint16 closedPort = 0;
    {
      LocalHttpServer gone;
      closedPort = gone.Port();
    }
    QtHttpClient client;
    std::optional<Result<HttpResponse>> result;
    client.Get("http://127.0.0.1:" + std::to_string(closedPort) + "/x.mp3",
               [&](Result<HttpResponse> response) { result = std::move(response); });
    QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 10000);
    QVERIFY(!result->ok());
  }
};

}  // namespace
}  // namespace duvelin

QTEST_GUILESS_MAIN(duvelin::QtNetworkTest)
#include "qt_network_qtest.moc"
