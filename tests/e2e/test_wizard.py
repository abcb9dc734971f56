"""KXWizard.exe end to end, under Wine and Xvfb, with simulated units on ptys.

Each test is one run of the program; screenshots and kxsim logs go to KX_ARTIFACTS.
"""
import struct
import unittest

from harness import *  # noqa: F403 (control identifiers and the session pieces)

BANNER_PAGE_TIMEOUT = 10


class WizardTest(unittest.TestCase):
    def setUp(self):
        self.display = Display()
        self.addCleanup(self.display.close)

    def start(self, ports):
        session = Session(self.display, ports)
        self.addCleanup(session.close)
        session.find()
        return session

    def unit(self, name, *args):
        sim = Kxsim(name, *args)
        self.addCleanup(sim.close)
        return sim

    def assert_visibility(self, session, expected):
        seen = {control: session.visible(control) for control in expected}
        self.assertEqual(seen, expected)

    def reach_unit_page(self, session):
        session.click(IDC_NEXT)
        self.assertTrue(session.wait_text(IDC_NEXT, "Query", BANNER_PAGE_TIMEOUT),
                        "the unit page did not come")

    def assert_ends_and_releases(self, session, sim):
        self.assertIsNotNone(session.wait_exit(), "the program did not end")
        # kxsim keeps a descriptor of the device side itself.
        others = lambda: [pid for pid in pty_holders(sim.device) if pid != sim.proc.pid]
        self.assertTrue(wait_until(lambda: not others(), 5),
                        f"{sim.device} still held by {others()}")


def page_visibility(page):
    """What each page shows, as the technician sees it."""
    unit = page in ("unit", "unit+cal")
    shown = {IDC_NEXT: page != "connecting", IDC_EXIT: unit, IDC_CONSOLE: unit,
             IDC_SHOW_CAL: page == "unit"}
    shown.update({control: page == "unit+cal" for control in CAL_GROUP})
    return shown


class TechnicianRun(WizardTest):
    def test_query_calibrate_and_exit(self):
        sim = self.unit("technician")
        session = self.start({1: sim.device})

        # Welcome page: at (0,0), 600x400, only NEXT.
        self.assertEqual(session.text(0), "KX wizard")
        self.assertEqual(session.rect(0), (0, 0, 600, 400))
        self.assert_visibility(session, page_visibility("welcome"))
        self.assertEqual(session.text(IDC_NEXT), "NEXT")
        self.display.screenshot("page0-welcome")

        # Layout: NEXT in the bottom-right corner of the 600x400 area, Exit beside it at
        # NEXT's size, the console above them.
        cx, cy, _, _ = session.client()
        nx, ny, nr, nb = session.rect(IDC_NEXT)
        w, h = nr - nx, nb - ny
        self.assertEqual((nx - cx, ny - cy), (590 - w, 390 - h))
        ex, ey, er, eb = session.rect(IDC_EXIT)
        self.assertEqual((ex - cx, ey - cy, er - ex, eb - ey), (580 - 2 * w, 390 - h, w, h))
        kx_, ky, kr, kb = session.rect(IDC_CONSOLE)
        self.assertEqual((kx_ - cx, ky - cy, kr - kx_, kb - ky), (100, 120, 400, 250 - h))

        # The boxes of the calibration group, hidden, already hold their first texts.
        self.assertEqual([session.text(c) for c in (IDC_YEAR, IDC_MONTH, IDC_OFFSET,
                                                    IDC_ACTUAL_TEMP)], ["10", "1", "0", "0"])

        self.reach_unit_page(session)
        self.assert_visibility(session, page_visibility("unit"))
        self.display.screenshot("page2-unit")

        # Query: the reading with the unit's "\n\r" shown as line breaks.
        session.click(IDC_NEXT)
        expected = "Probe KX-0042\r\nTemp reading:   23.5\r\nStatus OK\r\n"
        self.assertTrue(session.wait_text(IDC_CONSOLE, expected), repr(session.text(IDC_CONSOLE)))
        self.display.screenshot("page2-unit-query")

        session.click(IDC_SHOW_CAL)
        # Hiding the Show button is the handler's last step.
        self.assertTrue(wait_until(lambda: not session.visible(IDC_SHOW_CAL), 5))
        self.assert_visibility(session, page_visibility("unit+cal"))
        self.assertEqual([session.text(c) for c in (IDC_YEAR, IDC_MONTH, IDC_OFFSET,
                                                    IDC_ACTUAL_TEMP)], ["10", "1", "0", "0"])
        self.assertEqual([session.text(c) for c in (IDC_MONTH_LABEL, IDC_YEAR_LABEL,
                                                    IDC_OFFSET_LABEL, IDC_ACTUAL_TEMP_LABEL)],
                         ["Month", "Year", "Offset deg C", "Actual Temp in C:"])

        session.ask(f"settext {IDC_ACTUAL_TEMP} 10.8")
        session.click(IDC_CALC_OFFSET)
        self.assertTrue(session.wait_text(IDC_OFFSET, "12.7"), session.text(IDC_OFFSET))

        session.click(IDC_STORE_OFFSET)
        self.assertTrue(wait_until(lambda: sim.received() == b"QXO+127", 5), sim.received())
        self.assertTrue(wait_until(lambda: "Offset stored: +127" in session.text(IDC_CONSOLE), 5))
        session.click(IDC_STORE_DATE)
        self.assertTrue(wait_until(lambda: sim.received() == b"QXO+127C1001", 5),
                        sim.received())
        self.assertTrue(session.wait_text(IDC_CONSOLE, "Cal date stored: 1001\r\n"))
        self.display.screenshot("page2-unit-calibration")

        session.click(IDC_EXIT)
        self.assert_ends_and_releases(session, sim)
        self.assertEqual(sim.received(), b"QXO+127C1001")


class WebProbe(WizardTest):
    def test_request_reaches_the_notice_host(self):
        if ENV.get("KX_WEB_HOST") != "127.0.0.1":
            self.skipTest("built for another notice host than 127.0.0.1")
        web = WebServer(int(ENV.get("KX_WEB_PORT") or 80))
        self.addCleanup(web.close)
        session = self.start({})
        self.assertTrue(wait_until(lambda: web.requests, 10), "no request arrived")
        session.ask(f"key {VK_ESCAPE}")
        self.assertIsNotNone(session.wait_exit(), "the program did not end")
        self.assertEqual(len(web.requests), 1, web.requests)
        line, headers = web.requests[0]
        self.assertEqual(line, "GET /kxwizard.html HTTP/1.0")
        self.assertEqual(headers.get("User-Agent"), "KXWizard")


class NoUnit(WizardTest):
    def test_message_then_the_end(self):
        session = self.start({})
        # Enter presses NEXT, the default button.
        session.ask(f"key {VK_RETURN}")
        caption, parts = session.popup()
        self.assertEqual(caption, "Exit")
        self.assertIn("S:There doesn't appear to be an KX unit connected.", parts)
        self.assertEqual([p for p in parts if p.startswith("B:")], ["B:OK"])
        # The connecting page stays behind the box: no control at all.
        self.assert_visibility(session, page_visibility("connecting"))
        self.display.screenshot("page1-connecting-no-unit")
        session.ask("dismiss")
        self.assertIsNotNone(session.wait_exit(), "the program did not end")

    def test_enter_on_the_connecting_page_does_not_skip_discovery(self):
        # NEXT is hidden there but stays the default button, so the platform still presses
        # it on Enter.
        silent = self.unit("silent", "silent")
        session = self.start({1: silent.device})
        session.ask(f"key {VK_RETURN}")
        self.assertTrue(wait_until(lambda: not session.visible(IDC_NEXT), 5))
        session.ask(f"key {VK_RETURN}")
        # Only a wizard still on the connecting page gives up, after two tries of COM1.
        caption, _ = session.popup()
        self.assertEqual(caption, "Exit")
        self.assertEqual(session.text(IDC_NEXT), "NEXT")
        self.assert_visibility(session, page_visibility("connecting"))
        self.assertEqual(silent.received(), b"QQ")
        session.ask("dismiss")
        self.assert_ends_and_releases(session, silent)


class LeavingTheWizard(WizardTest):
    def test_escape_on_the_unit_page_ends_and_releases_the_port(self):
        sim = self.unit("escape")
        session = self.start({1: sim.device})
        self.reach_unit_page(session)
        session.ask(f"key {VK_ESCAPE}")
        self.assert_ends_and_releases(session, sim)

    def test_close_command_on_the_welcome_page_ends(self):
        session = self.start({})
        session.ask(f"syscommand {SC_CLOSE}")
        self.assertIsNotNone(session.wait_exit(), "the program did not end")

    def test_unit_on_a_high_port_behind_a_silent_device(self):
        silent = self.unit("silent", "silent")
        sim = self.unit("com12")
        session = self.start({2: silent.device, 12: sim.device})
        self.reach_unit_page(session)
        # Dropping a silent port raises the scan start by one only: COM2 is tried from
        # the starts 0 and 1, then the scan from 2 finds the unit on COM12.
        self.assertEqual(silent.received(), b"QQ")
        session.click(IDC_EXIT)
        self.assert_ends_and_releases(session, sim)


class AboutBox(WizardTest):
    def test_opens_from_system_command_and_page_changes_underneath(self):
        sim = self.unit("about")
        session = self.start({1: sim.device})
        session.ask(f"syscommand {IDM_ABOUTBOX}")
        caption, parts = session.popup()
        self.assertEqual(caption, "About KXWizard")
        self.assertIn("S:KXWizard version 1.0", parts)
        self.assertIn("B:确定", parts)
        self.display.screenshot("about-box")
        session.ask("dismiss")
        self.assertTrue(wait_until(lambda: not session.has_popup(), 5))

        # The About box over the connecting page; discovery goes on underneath.
        session.click(IDC_NEXT)
        session.ask(f"syscommand {IDM_ABOUTBOX}")
        session.popup()
        self.assertTrue(session.wait_text(IDC_NEXT, "Query", BANNER_PAGE_TIMEOUT))
        self.display.screenshot("about-box-over-unit-page")
        session.ask("dismiss")
        self.assertTrue(wait_until(lambda: not session.has_popup(), 5))
        self.assertEqual(session.ask("alive"), "1")
        session.ask(f"key {VK_ESCAPE}")
        self.assert_ends_and_releases(session, sim)


def dialog_items(template):
    """(style, exstyle, x, y, cx, cy, id, class, text) of each control of a DIALOGEX."""
    def sz_or_ord(data, pos):
        if struct.unpack_from("<H", data, pos)[0] == 0xFFFF:
            return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
        end = pos
        while struct.unpack_from("<H", data, end)[0]:
            end += 2
        return data[pos:end].decode("utf-16-le"), end + 2

    count = struct.unpack_from("<H", template, 16)[0]
    pos = 26
    for _ in range(3):  # menu, class, title
        _, pos = sz_or_ord(template, pos)
    pos += 6  # point size, weight, italic, charset
    face, pos = sz_or_ord(template, pos)
    items = []
    for _ in range(count):
        pos = (pos + 3) & ~3
        help_id, ex, style, x, y, cx, cy, cid = struct.unpack_from("<IIIhhhhI", template, pos)
        cls, pos = sz_or_ord(template, pos + 24)
        text, pos = sz_or_ord(template, pos)
        pos += 2 + struct.unpack_from("<H", template, pos)[0]
        items.append((style, ex, x, y, cx, cy, cid, cls, text, help_id))
    return face, items


class Resources(unittest.TestCase):
    """The program's resources, read back through Wine's loader."""

    @classmethod
    def setUpClass(cls):
        wine_prefix("prepare")
        import subprocess
        out = subprocess.run(["wine", ENV["KX_DRIVER"]], env=wine_env(), text=True,
                             input="resources " + EXE.replace("/", "\\") + "\nquit\n",
                             capture_output=True, check=True).stdout
        wine_prefix("stop")
        cls.res = {}
        for line in out.splitlines():
            if line.startswith("res "):
                _, kind, name, lang, size, data = line.split(" ")
                cls.res[(int(kind), int(name))] = (int(lang), int(size), bytes.fromhex(data))

    def test_languages(self):
        for (kind, name), (lang, _, _) in self.res.items():
            self.assertEqual(lang, 0x0409 if kind == 16 else 0x0804, (kind, name))

    def test_wizard_template(self):
        _, _, data = self.res[(5, 102)]
        sig, ver, help_id, ex, style, count, x, y, cx, cy = struct.unpack_from(
            "<HHIIIHhhhh", data)
        self.assertEqual((sig, ver, help_id, ex, style), (1, 0xFFFF, 0, 0x00040000, 0x900000C0))
        self.assertEqual((x, y, cx, cy), (0, 0, 465, 282))
        face, items = dialog_items(data)
        self.assertEqual(face, "MS Sans Serif")
        self.assertEqual(
            [(i[6], hex(i[0]), hex(i[1]), i[2:6], i[7], i[8], i[9]) for i in items], [
                (1001, "0x50018001", "0x0", (297, 235, 42, 17), 0x80, "NEXT", 0),
                (1002, "0x50018000", "0x0", (247, 235, 41, 17), 0x80, "Exit", 0),
                (1003, "0x50a11804", "0x0", (74, 70, 253, 104), 0x81, "", 0),
                (1005, "0x50010000", "0x0", (11, 186, 50, 15), 0x80, "Store Offset", 0),
                (1006, "0x50012080", "0x20", (43, 106, 16, 12), 0x81, "", 0),
                (1007, "0x50012080", "0x0", (43, 87, 15, 12), 0x81, "", 0),
                (1008, "0x50010080", "0x0", (21, 167, 25, 12), 0x81, "", 0),
                (1009, "0x50010080", "0x0", (89, 220, 30, 12), 0x81, "", 0),
                (1010, "0x50010000", "0x0", (8, 124, 49, 14), 0x80, "Store Date", 0),
                (1011, "0x50010080", "0x0", (7, 87, 26, 12), 0x81, "", 0),
                (1012, "0x50010080", "0x0", (7, 105, 26, 12), 0x81, "", 0),
                (1013, "0x50010080", "0x0", (12, 150, 43, 12), 0x81, "", 0),
                (1014, "0x50010080", "0x0", (19, 220, 60, 12), 0x81, "", 0),
                (1015, "0x50010000", "0x0", (127, 220, 56, 14), 0x80, "Calculate Offset", 0),
                (1016, "0x50010000", "0x0", (193, 220, 82, 14), 0x80,
                 "Show VLX4 Cal Options", 0),
            ])
        # Font: 8 point, weight 0, not italic, DEFAULT_CHARSET.
        self.assertIn(struct.pack("<HHBB", 8, 0, 0, 1) + "MS Sans Serif".encode("utf-16-le"),
                      data)

    def test_about_template(self):
        _, _, data = self.res[(5, 100)]
        style, ex, count, x, y, cx, cy = struct.unpack_from("<IIHhhhh", data)
        self.assertEqual((hex(style), ex, count, (x, y, cx, cy)),
                         ("0x80c800c0", 0, 4, (0, 0, 235, 55)))
        for text in ("About KXWizard", "宋体", "KXWizard version 1.0", "确定"):
            self.assertIn(text.encode("utf-16-le"), data)
        self.assertIn(struct.pack("<H", 9) + "宋体".encode("utf-16-le"), data)
        # The icon static: SS_ICON showing IDR_MAINFRAME at 11, 17, 20 x 20.
        self.assertIn(struct.pack("<IIhhhhH", 0x50000003, 0, 11, 17, 20, 20, 0xFFFF), data)
        self.assertIn(struct.pack("<HH", 0xFFFF, 128), data)
        # The two text lines and the OK button: whole style words, rectangles, identifiers.
        for item in ((0x50020080, 40, 10, 119, 8, 0xFFFF), (0x50020000, 40, 25, 119, 8, 0xFFFF),
                     (0x50030001, 178, 7, 50, 14, 1)):
            style, *rest = item
            self.assertIn(struct.pack("<IIhhhhH", style, 0, *rest), data, hex(style))

    def test_strings(self):
        _, _, data = self.res[(6, 7)]  # the block of identifiers 96 to 111
        strings, pos = [], 0
        for _ in range(16):
            n = struct.unpack_from("<H", data, pos)[0]
            strings.append(data[pos + 2:pos + 2 + 2 * n].decode("utf-16-le"))
            pos += 2 + 2 * n
        self.assertEqual(strings[101 - 96], "About KXWizard(&A)...")
        self.assertEqual(strings[103 - 96], "Windows Socket Failed\u3002")

    def test_version_manifest_icon_and_pictures(self):
        _, _, version = self.res[(16, 1)]
        fixed = version[version.index(struct.pack("<I", 0xFEEF04BD)):]
        self.assertEqual(struct.unpack_from("<13I", fixed)[2:],
                         (0x00020000, 0x00000001, 0x00020000, 0x00000001, 0x3F, 0, 4, 1, 0, 0, 0))
        for key, value in (("FileDescription", "KXWizard Microsoft MFC"),
                           ("FileVersion", "2, 0, 0, 1"), ("InternalName", "KXWizard"),
                           ("OriginalFilename", "KXWizard.EXE"),
                           ("ProductName", "KXWizard Application"),
                           ("ProductVersion", "2, 0, 0, 1"), ("040904b0", "")):
            self.assertIn((key + "\0").encode("utf-16-le"), version)
            self.assertIn(value.encode("utf-16-le"), version)
        self.assertIn("Translation\0".encode("utf-16-le"), version)
        self.assertTrue(version.endswith(struct.pack("<HH", 0x409, 1200)))

        _, size, manifest = self.res[(24, 1)]
        self.assertEqual(size, 86)
        self.assertTrue(manifest.startswith(b'<assembly xmlns="urn:schemas-microsoft-com:asm.v1"'
                                            b' manifestVersion="1.0">'))

        _, _, group = self.res[(14, 128)]
        self.assertEqual(struct.unpack_from("<HHH", group), (0, 1, 1))
        width, height, _, _, _, bits, size, image = struct.unpack_from("<BBBBHHIH", group, 6)
        self.assertEqual((width, height, bits, size), (48, 48, 32, 9640))
        self.assertEqual(self.res[(3, image)][1], 9640)

        for picture in (129, 130, 131):
            _, size, header = self.res[(2, picture)]
            _, w, h, planes, bits, compression = struct.unpack_from("<IiiHHI", header)
            self.assertEqual((w, h, planes, bits, compression, size),
                             (600, 400, 1, 24, 0, 40 + 600 * 400 * 3))


if __name__ == "__main__":
    unittest.main()
