#!/usr/bin/python3
# The desktop edition end to end, on X11 or on Wayland (desktop_driver.py): the real
# primteiler-gtk started for each row of one flow table and driven as a screen reader drives it.
#   dbus-run-session -- desktop_test.py x11|wayland
# with PRIMTEILER_DESKTOP_PROGRAM, PRIMTEILER_EXAMPLES (the worked examples as JSON) and what
# desktop_driver.py needs in the environment.
import json
import os
import re
import sys
import unittest

from desktop_driver import (Atspi, DisplayServer, Role, Screen, SeatlessNoise, Wait, WaitFactor,
                            act, find, press, text_of, type_text, window, within)

Backend = sys.argv.pop(1) if len(sys.argv) > 1 else 'x11'
Program = os.environ['PRIMTEILER_DESKTOP_PROGRAM']
with open(os.environ['PRIMTEILER_EXAMPLES'], encoding='utf-8') as examples_file:
    Facts = json.load(examples_file)


def example(entered):
    return next(e for e in Facts['examples'] if e['entered'] == entered)


# The flow table: what is entered and how, how the box is dismissed, and what it shows.
# enter: 'keys' typed and Enter pressed; 'paste' put into the field at once, then the field's
# activate action (what Enter does there); 'Ok' the button's action; 'Escape' and 'close'
# cancel. dismiss: 'Enter' or 'Escape' pressed, or 'OK' by the button's action. The worked
# examples go by actions where no key can be pressed.
Flows = [{'name': f'worked example "{e["entered"]}"', 'entered': e['entered'],
          'enter': 'keys', 'dismiss': 'Enter', 'shows': e, 'byActions': True}
         for e in Facts['examples']]
Flows += [
    {'name': 'Ok by its action', 'entered': '360', 'enter': 'Ok', 'dismiss': 'OK',
     'shows': example('360')},
    {'name': 'Enter as the field does it', 'entered': '97', 'enter': 'paste', 'dismiss': 'OK',
     'shows': example('97')},
    {'name': 'Escape cancels', 'entered': '12', 'enter': 'Escape', 'shows': example('')},
    {'name': 'the close button cancels', 'entered': '12', 'enter': 'close',
     'shows': example('')},
    {'name': 'Escape dismisses the box', 'entered': '30', 'enter': 'keys', 'dismiss': 'Escape',
     'shows': example('30')},
    {'name': 'an entry past the limit, pasted', 'entered': Facts['longEntry'], 'enter': 'paste',
     'dismiss': 'OK', 'shows': example(Facts['longEntryShowsAs'])},
    {'name': 'a report taller than the screen', 'entered': Facts['longReportEntry'],
     'enter': 'paste', 'dismiss': 'OK', 'shows': None},
]


def needs(flow):
    """What of a backend's limits (desktop_driver.Cannot) the flow runs into, if anything."""
    if flow['enter'] in ('keys', 'Escape') or flow.get('dismiss') in ('Enter', 'Escape'):
        return 'keys'
    return 'close' if flow['enter'] == 'close' else None


class DesktopEditionTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # ms for an answer from the program, and at its start
        Atspi.set_timeout(5000 * WaitFactor, 15000 * WaitFactor)
        cls.server = DisplayServer(Backend)
        cls.addClassCleanup(cls.server.stop)
        cls.server.share()
        cls.cannot = cls.server.cannot

    def enter(self, process, flow):
        """The input window with its field, labelled by the prompt: `entered` put in and
        confirmed as the row says."""
        frame = window(process, Role.FRAME, Facts['inputCaption'])
        field = within('the field', lambda: find(frame, Role.TEXT, Facts['inputPrompt']))
        label = field.get_relation_set()[0]
        self.assertEqual(label.get_relation_type(), Atspi.RelationType.LABELLED_BY)
        self.assertEqual(label.get_target(0).get_name(), Facts['inputPrompt'])
        if 'keys' not in self.cannot:  # Wayland gives no keyboard focus without a seat
            within('the focus in the field',
                   lambda: field.get_state_set().contains(Atspi.StateType.FOCUSED))
        if flow['enter'] in ('keys', 'Escape'):
            type_text(flow['entered'])
            within('the typed text', lambda: text_of(field) == flow['entered'])
        else:
            Atspi.EditableText.set_text_contents(field, flow['entered'])
        if flow['enter'] in ('keys', 'Escape'):
            press('Enter' if flow['enter'] == 'keys' else 'Escape')
        elif flow['enter'] == 'paste':
            act(field, 'activate')
        else:
            button = 'Ok' if flow['enter'] == 'Ok' else 'Close'
            act(find(frame, Role.PUSH_BUTTON, button), 'click')

    def box(self, process, caption):
        """The message box captioned `caption` once it is there, fitting the screen with its OK
        inside and focused; returns it, its text and its OK."""
        alert = window(process, Role.ALERT, caption)
        ok = within('OK', lambda: find(alert, Role.PUSH_BUTTON, 'OK'))
        if 'keys' not in self.cannot:
            within('the focus on OK', lambda: ok.get_state_set().contains(Atspi.StateType.FOCUSED))
        box = alert.get_extents(Atspi.CoordType.WINDOW)
        button = ok.get_extents(Atspi.CoordType.WINDOW)
        self.assertLess(box.height, Screen[1], 'the box leaves room on the screen')
        self.assertLessEqual(button.y + button.height, box.height, 'OK lies inside the box')
        return alert, text_of(find(find(alert, Role.SCROLL_PANE), Role.LABEL)), ok

    def scrolls(self, alert):
        """The long report scrolls: its bar is there, and the keyboard moves it (Shift+Tab
        from OK to the text, then Page Down)."""
        bar = within('the scroll bar', lambda: find(alert, Role.SCROLL_BAR))
        self.assertEqual(Atspi.Value.get_current_value(bar), Atspi.Value.get_minimum_value(bar))
        if 'keys' in self.cannot:
            return
        press('Tab', shift=True)
        text = find(find(alert, Role.SCROLL_PANE), Role.LABEL)
        within('the focus on the text',
               lambda: text.get_state_set().contains(Atspi.StateType.FOCUSED))
        press('PageDown')
        within('the text to scroll', lambda: Atspi.Value.get_current_value(bar) > 0)

    def test_flows(self):
        for flow in Flows:
            with self.subTest(flow['name']):
                if needs(flow) in self.cannot and flow.get('byActions'):
                    flow = {**flow, 'enter': 'paste', 'dismiss': 'OK'}
                elif needs(flow) in self.cannot:
                    self.skipTest(self.cannot[needs(flow)])
                process = self.server.start(Program)
                try:
                    self.run_flow(process, flow)
                finally:  # a window left over would take the next flow's keys
                    if process.poll() is None:
                        process.kill()
                        process.communicate(timeout=Wait)

    def run_flow(self, process, flow):
        self.enter(process, flow)
        shows = flow['shows']
        if shows is None or shows['shows'] != 'nothing':
            error = shows is not None and shows['shows'] == 'error'
            alert, text, ok = self.box(
                process, Facts['errorCaption' if error else 'reportCaption'])
            if shows is None:  # the long report: all of it there, and it scrolls
                divisors = text.split('\r\n')[-1].split(', ')
                self.assertEqual(len(divisors), Facts['longReportDivisors'])
                self.scrolls(alert)
            elif error:
                self.assertEqual(text, Facts['errorText'])
            else:
                self.assertRegex(text, f'^{shows["reportPattern"]}$')
            if flow['dismiss'] == 'OK':
                act(ok, 'click')
            else:
                press(flow['dismiss'])
        out, err = process.communicate(timeout=Wait)
        said = [line for line in err.decode().splitlines()
                if line and not (Backend == 'wayland' and re.fullmatch(SeatlessNoise, line))]
        self.assertEqual((process.returncode, out, said), (0, b'', []))


if __name__ == '__main__':
    unittest.main(verbosity=2)
