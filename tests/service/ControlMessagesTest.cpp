#include <gtest/gtest.h>

#include "service/ControlMessages.h"

namespace mav::test {
namespace {

TEST(ControlMessages, EveryFaultOfALineBecomesAnErrorResponse) {
  const std::pair<const char*, const char*> cases[] = {
      {"{\"type\":",
       R"("id":null,"status":"error","code":"invalid_json","message":"The line is no JSON.")"},
      {"[1]",
       R"("id":null,"status":"error","code":"invalid_message","message":"A message is a JSON object.")"},
      {R"({"type":"hi"})",
       R"("id":null,"status":"error","code":"invalid_message","message":"A message's \"type\" is \"identify\" or \"request\".")"},
      {R"({"type":"identify","name":""})",
       R"("id":null,"status":"error","code":"bad_argument","message":"An identify needs a \"name\" of 1 to 64 characters.")"},
      {R"({"type":"request","op":"resync"})",
       R"("id":null,"status":"error","code":"missing_id","message":"A request needs an \"id\".")"},
      {R"({"type":"request","id":[1],"op":"resync"})",
       R"("id":null,"status":"error","code":"bad_id","message":"A request's \"id\" is a string or a whole number.")"},
      {R"({"type":"request","id":4,"op":"fly"})",
       R"("id":4,"status":"error","code":"unknown_op","message":"There is no op \"fly\".")"},
      {R"({"type":"request","id":"a","op":"connect","port":3})",
       R"("id":"a","status":"error","code":"bad_argument","message":"A connect names either a port \"to\" or a \"net\".")"},
      {R"({"type":"request","id":5,"op":"disconnect","port":"3"})",
       R"("id":5,"status":"error","code":"bad_argument","message":"The argument \"port\" of disconnect has a wrong type or value.")"},
      {R"({"type":"request","id":6,"op":"monitor","port":3,"of":26,"on":true})",
       R"("id":6,"status":"error","code":"bad_argument","message":"The argument \"of\" of monitor has a wrong type or value.")"},
      {R"({"type":"request","id":7,"op":"dial","port":3})",
       R"("id":7,"status":"error","code":"bad_argument","message":"The request dial needs the argument \"number\".")"},
      {R"({"type":"request","id":8,"op":"settings.set","port":1,"settings":{"tx_level":-1}})",
       R"("id":8,"status":"error","code":"bad_argument","message":"The argument \"settings\" of settings.set has a wrong type or value.")"},
      {R"({"type":"request","id":9,"op":"salvo.take","name":"Night","at":"07:00","in":"90s"})",
       R"("id":9,"status":"error","code":"bad_argument","message":"A take is scheduled by either \"at\" or \"in\".")"},
      {R"({"type":"request","id":10,"op":"salvo.take","name":"Night","in":"soon"})",
       R"("id":10,"status":"error","code":"bad_argument","message":"The argument \"in\" of salvo.take has a wrong type or value.")"},
      {R"({"type":"request","id":11,"op":"salvo.save","name":"../x","ports":"3"})",
       R"("id":11,"status":"error","code":"bad_argument","message":"The argument \"name\" of salvo.save has a wrong type or value.")"},
      {R"({"type":"request","id":12,"op":"salvo.save","name":"Night","ports":"3,26"})",
       R"("id":12,"status":"error","code":"bad_argument","message":"The argument \"ports\" of salvo.save has a wrong type or value.")"},
  };
  for (const auto& [line, expected] : cases) {
    const ControlMessage message = read_control_message(line);
    EXPECT_EQ(message.kind, ControlMessage::Kind::Invalid) << line;
    EXPECT_EQ(encode_error(message.error), std::string("{\"type\":\"response\",") + expected + "}");
  }
}

// Reading a request and writing it again gives the same bytes: every argument was read and typed.
TEST(ControlMessages, RequestsReadBackToTheSameLine) {
  const char* const lines[] = {
      R"({"type":"request","id":1,"op":"connect","port":3,"to":7})",
      R"({"type":"request","id":"x","op":"connect","port":9,"net":2,"number":"5551234","line":2})",
      R"({"type":"request","id":3,"op":"monitor","port":4,"of":7,"on":false})",
      R"({"type":"request","id":4,"op":"settings.set","port":1,"settings":{"tx_level":12,"eq":1}})",
      R"({"type":"request","id":5,"op":"config.load","file":"night.cfg","preview":true})",
      R"({"type":"request","id":6,"op":"trace.tail","count":50})",
      R"({"type":"request","id":7,"op":"disconnect_all"})",
      R"({"type":"request","id":8,"op":"salvo.take","name":"Night","at":"21:30"})",
      R"({"type":"request","id":9,"op":"salvo.cancel","take":4})",
  };
  for (const char* line : lines) {
    const ControlMessage message = read_control_message(line);
    ASSERT_EQ(message.kind, ControlMessage::Kind::Request) << line;
    EXPECT_EQ(encode_request(message.request.id, message.request.op, message.request.arguments),
              line);
  }
}

TEST(ControlMessages, TheServiceLinesHaveTheirFieldsInOrder) {
  EXPECT_EQ(
      encode_hello("North", LinkState::Connecting, false, "c0ffee"),
      R"({"type":"hello","protocol":1,"site":"North","link":"connecting","synchronised":false,"challenge":"c0ffee"})");
  EXPECT_EQ(encode_response("r1", ResponseStatus::Applied),
            R"({"type":"response","id":"r1","status":"applied"})");
  EXPECT_EQ(
      encode_refusal(2, ResponseStatus::Refused, "same_port", "A port joins another."),
      R"({"type":"response","id":2,"status":"refused","code":"same_port","message":"A port joins another."})");
  EventSequence events;
  events.next("gateway", {{"link", "closed"}});
  EXPECT_EQ(events.next("dispatch-1", {{"port", 3}}),
            R"({"type":"event","seq":2,"actor":"dispatch-1","event":{"port":3}})");
}

TEST(ControlMessages, TheSnapshotShowsPortsAndNetsFromTheModel) {
  DeviceModel model;
  model.Update(3, [](PortRecord& r) {
    r.mod_type = MOD_TOV5;
    std::snprintf(r.port_name, sizeof r.port_name, "Fire\xff");
    r.net = 1, r.bus = 0, r.perm_conn = 1, r.cor_active = 1;
    r.monitors[0] = 7, r.monitors[1] = PORT_NONE;
  });
  model.Update(7, [](PortRecord& r) { r.mod_type = MOD_LINE7, r.net = 1, r.bus = 0; });
  LockOwners locks;
  locks[7] = "dispatch-1";
  const auto snapshot = nlohmann::json::parse(encode_snapshot(9, model, locks));
  EXPECT_EQ(snapshot["seq"], 9);
  EXPECT_EQ(
      snapshot["ports"][3].dump(),
      R"({"bus":0,"cor":true,"hook":null,"lock":null,"module":"TOV-5","monitors":[7],"name":"Fire�","net":1,"permanent":true,"port":3,"ptt":false,"ring":false})");
  EXPECT_EQ(snapshot["ports"][7]["hook"], "on");
  EXPECT_EQ(snapshot["ports"][7]["lock"], "dispatch-1");
  EXPECT_EQ(snapshot["ports"][0]["module"], nullptr);
  EXPECT_EQ(snapshot["nets"].dump(), R"([{"bus":0,"net":1,"ports":[3,7]}])");
}

}  // namespace
}  // namespace mav::test
