#!/usr/bin/python3
# The desktop edition end to end, on X11 (Xvfb) or on Wayland (weston's headless backend, no X
# fallback): the real primteiler-gtk started for each row of one flow table and driven through
# the accessibility tree (AT-SPI), by role and name as a screen reader finds things; keys are
# pressed through AT-SPI as well. Run inside a D-Bus session of its own (dbus-run-session):
#   desktop_test.py x11|wayland
# with PRIMTEILER_DESKTOP_PROGRAM, PRIMTEILER_EXAMPLES (the worked examples as JSON) and
# PRIMTEILER_XVFB_SCRIPT (scripts/xvfb) or PRIMTEILER_WESTON in the environment.
import json
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest
import warnings

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi  # noqa: E402

Backend = sys.argv.pop(1) if len(sys.argv) > 1 else 'x11'
Program = os.environ['PRIMTEILER_DESKTOP_PROGRAM']
with open(os.environ['PRIMTEILER_EXAMPLES'], encoding='utf-8') as examples_file:
    Facts = json.load(examples_file)
warnings.simplefilter('ignore', DeprecationWarning)  # get_action_name: its successor is newer
Wait = 10  # seconds for a window to appear, a control to answer, the program to end
Screen = (1024, 768)  # of the display server started here

# What a backend cannot do, with the reason: those rows are skipped there, visibly.
Cannot = {
    'wayland': {
        'keys': "weston's headless backend takes input only from its test plugin, which "
                'Debian does not ship',
    },
    'x11': {
        'close': 'no window manager runs under Xvfb, so no window has a close button',
    },
}[Backend]


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
    """What of Cannot the flow needs, if anything."""
    if flow['enter'] in ('keys', 'Escape') or flow.get('dismiss') in ('Enter', 'Escape'):
        return 'keys'
    return 'close' if flow['enter'] == 'close' else None


def within(what, probe, seconds=Wait):
    """Polls probe() until it gives something truthy; fails naming `what` after `seconds`."""
    end = time.monotonic() + seconds
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError(f'waited {seconds} s for {what}')
        time.sleep(0.05)


def find(node, role, name=None):
    """The first accessible below `node` (itself included) with `role` and `name` (any if
    None) that is showing."""
    try:
        if (node.get_role_name() == role and (name is None or node.get_name() == name)
                and node.get_state_set().contains(Atspi.StateType.SHOWING)):
            return node
        for index in range(node.get_child_count()):
            found = find(node.get_child_at_index(index), role, name)
            if found:
                return found
    except gi.repository.GLib.Error:  # a window going away while it is read
        pass
    return None


def window(process, role, name):
    """The top-level window of `process` with `role` and `name`, once it is there."""
    def probe():
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            application = desktop.get_child_at_index(index)
            if application and application.get_process_id() == process.pid:
                for child in range(application.get_child_count()):
                    top = application.get_child_at_index(child)
                    if top.get_role_name() == role and top.get_name() == name:
                        return top
        return None
    return within(f'{role} "{name}"', probe)


def act(node, action):
    for index in range(Atspi.Action.get_n_actions(node)):
        if Atspi.Action.get_action_name(node, index) == action:
            return Atspi.Action.do_action(node, index)
    raise AssertionError(f'{node.get_role_name()} "{node.get_name()}" has no action {action}')


def press(keysym):
    Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)


def text_of(node):
    return Atspi.Text.get_text(node, 0, -1)


class DisplayServer:
    """Xvfb or a headless weston of the suite's own; its environment for the program."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix='primteiler-desktop-')
        os.chmod(self.folder, 0o700)
        self.weston = None
        if Backend == 'x11':
            subprocess.run([os.environ['PRIMTEILER_XVFB_SCRIPT'], 'start', self.folder,
                            f'{Screen[0]}x{Screen[1]}'], check=True, timeout=Wait)
            with open(f'{self.folder}/display', encoding='ascii') as display:
                self.env = {'DISPLAY': display.read().strip(), 'GDK_BACKEND': 'x11'}
            return
        self.env = {'XDG_RUNTIME_DIR': self.folder, 'WAYLAND_DISPLAY': 'primteiler',
                    'GDK_BACKEND': 'wayland'}
        self.weston = subprocess.Popen(
            [os.environ['PRIMTEILER_WESTON'], *os.environ['PRIMTEILER_WESTON_OPTIONS'].split(),
             '--socket=primteiler', f'--width={Screen[0]}', f'--height={Screen[1]}',
             '--idle-time=0'],
            env={**os.environ, **self.env}, stdout=subprocess.DEVNULL,
            stderr=open(f'{self.folder}/weston.log', 'w'))
        within('weston to listen', lambda: os.path.exists(f'{self.folder}/primteiler'))

    def share(self):
        """Hands the display to the services that D-Bus starts, the accessibility bus and its
        registry among them: the registry presses keys through the X server."""
        subprocess.run(['dbus-update-activation-environment',
                        *(f'{name}={value}' for name, value in self.env.items())],
                       check=True, timeout=Wait)

    def stop(self):
        if self.weston:
            self.weston.terminate()
            self.weston.wait(timeout=Wait)
        else:
            subprocess.run([os.environ['PRIMTEILER_XVFB_SCRIPT'], 'stop', self.folder],
                           timeout=Wait)
        subprocess.run(['rm', '-rf', self.folder], timeout=Wait)


class DesktopEditionTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        Atspi.set_timeout(5000, 15000)  # ms for an answer from the program, and at its start
        cls.server = DisplayServer()
        cls.server.share()

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def start(self):
        environment = {k: v for k, v in os.environ.items()
                       if k not in ('DISPLAY', 'WAYLAND_DISPLAY')}
        process = subprocess.Popen([Program], env={**environment, **self.server.env},
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        def end():
            if process.poll() is None:
                process.kill()
            process.communicate(timeout=Wait)
        self.addCleanup(end)
        return process

    def enter(self, process, flow):
        """The input window with its field focused: `entered` put in and confirmed as the row
        says."""
        frame = window(process, 'frame', Facts['inputCaption'])
        field = within('the field', lambda: find(frame, 'text', Facts['inputPrompt']))
        label = field.get_relation_set()[0]
        self.assertEqual(label.get_relation_type(), Atspi.RelationType.LABELLED_BY)
        self.assertEqual(label.get_target(0).get_name(), Facts['inputPrompt'])
        if 'keys' not in Cannot:  # Wayland gives no keyboard focus without a seat
            within('the focus in the field',
                   lambda: field.get_state_set().contains(Atspi.StateType.FOCUSED))
        if flow['enter'] in ('keys', 'Escape'):
            Atspi.generate_keyboard_event(0, flow['entered'], Atspi.KeySynthType.STRING)
            within('the typed text', lambda: text_of(field) == flow['entered'])
        else:
            Atspi.EditableText.set_text_contents(field, flow['entered'])
        if flow['enter'] == 'keys':
            press(0xff0d)  # Return
        elif flow['enter'] == 'Escape':
            press(0xff1b)
        elif flow['enter'] == 'paste':
            act(field, 'activate')
        elif flow['enter'] == 'Ok':
            act(find(frame, 'push button', 'Ok'), 'click')
        else:
            act(find(frame, 'push button', 'Close'), 'click')

    def box(self, process, caption):
        """The message box captioned `caption` once it is there, fitting the screen with its OK
        inside and focused; returns it, its text and its OK."""
        alert = window(process, 'alert', caption)
        ok = within('OK', lambda: find(alert, 'push button', 'OK'))
        if 'keys' not in Cannot:
            within('the focus on OK', lambda: ok.get_state_set().contains(Atspi.StateType.FOCUSED))
        box = alert.get_extents(Atspi.CoordType.WINDOW)
        button = ok.get_extents(Atspi.CoordType.WINDOW)
        self.assertLessEqual(box.height, Screen[1], 'the box fits the screen')
        self.assertLessEqual(button.y + button.height, box.height, 'OK lies inside the box')
        return alert, text_of(find(find(alert, 'scroll pane'), 'label')), ok

    def scrolls(self, alert):
        """The long report scrolls: its bar is there, and the keyboard moves it (Shift+Tab
        from OK to the text, then Page Down)."""
        bar = within('the scroll bar', lambda: find(alert, 'scroll bar'))
        self.assertEqual(Atspi.Value.get_current_value(bar), Atspi.Value.get_minimum_value(bar))
        if 'keys' in Cannot:
            return
        Atspi.generate_keyboard_event(0xffe1, None, Atspi.KeySynthType.PRESS)  # Shift
        press(0xff09)  # Tab
        Atspi.generate_keyboard_event(0xffe1, None, Atspi.KeySynthType.RELEASE)
        text = find(alert, 'label')
        within('the focus on the text',
               lambda: text.get_state_set().contains(Atspi.StateType.FOCUSED))
        press(0xff56)  # Page Down
        within('the text to scroll', lambda: Atspi.Value.get_current_value(bar) > 0)

    def test_flows(self):
        for flow in Flows:
            with self.subTest(flow['name']):
                if needs(flow) in Cannot and flow.get('byActions'):
                    flow = {**flow, 'enter': 'paste', 'dismiss': 'OK'}
                elif needs(flow) in Cannot:
                    self.skipTest(Cannot[needs(flow)])
                process = self.start()
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
                        press({'Enter': 0xff0d, 'Escape': 0xff1b}[flow['dismiss']])
                out, err = process.communicate(timeout=Wait)
                self.assertEqual((process.returncode, out), (0, b''), err.decode())


if __name__ == '__main__':
    unittest.main(verbosity=2)
