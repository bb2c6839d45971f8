# The desktop edition's windows as a screen reader reaches them, for its tests and its
# screenshots: a display server of their own (Xvfb, or weston's headless backend with no X
# fallback), the program started on it, and its windows and controls found through the
# accessibility tree (AT-SPI) by role and name; keys are pressed through AT-SPI as well. Run
# inside a D-Bus session of their own (dbus-run-session); Xvfb is started by scripts/xvfb,
# weston (PRIMTEILER_WESTON, or the one on the PATH) directly.
import os
import re
import subprocess
import tempfile
import time
import warnings

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi  # noqa: E402

# Roles by their number: their names change between AT-SPI's versions ("push button" is
# "button" in Debian 13).
Role = Atspi.Role
warnings.simplefilter('ignore', DeprecationWarning)  # get_action_name: its successor is newer
# Seconds for a window to appear, a control to answer, the program to end; PRIMTEILER_WAIT_FACTOR
# times as many where all of it runs emulated (check-fresh-debian --arch arm64).
WaitFactor = int(os.environ.get('PRIMTEILER_WAIT_FACTOR', '1'))
Wait = 10 * WaitFactor
Screen = (1024, 768)  # of the display server started here
Xvfb = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts', 'xvfb')
Keys = {'Enter': 0xff0d, 'Escape': 0xff1b, 'Tab': 0xff09, 'PageDown': 0xff56}

# What GTK says on standard error of a display with no seat, as weston's headless one is: a
# keyboard and a pointer it cannot find. Anything else it says there is a fault.
SeatlessNoise = r'\(primteiler-gtk:\d+\): Gdk-CRITICAL \*\*: [\d:.]+: gdk_(seat|device)_\w+: ' \
    r"assertion 'GDK_IS_(SEAT|DEVICE) \((seat|device)\)' failed"

# What a backend cannot do, with the reason: whatever needs it is skipped there, visibly.
Cannot = {
    'wayland': {
        'keys': "weston's headless backend takes input only from its test plugin, which "
                'Debian does not ship',
    },
    'x11': {
        'close': 'no window manager runs under Xvfb, so no window has a close button',
    },
}


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
    """The first accessible below `node` (itself included) with `role` (a Role) and `name` (any
    if None) that is showing."""
    try:
        if (node.get_role() == role and (name is None or node.get_name() == name)
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
        try:
            for index in range(desktop.get_child_count()):
                application = desktop.get_child_at_index(index)
                if application and application.get_process_id() == process.pid:
                    for child in range(application.get_child_count()):
                        # None, or an error, for a window that went away since it was counted
                        top = application.get_child_at_index(child)
                        if top and top.get_role() == role and top.get_name() == name:
                            return top
        except gi.repository.GLib.Error:
            pass
        return None
    return within(f'{role} "{name}"', probe)


def act(node, action):
    for index in range(Atspi.Action.get_n_actions(node)):
        if Atspi.Action.get_action_name(node, index) == action:
            return Atspi.Action.do_action(node, index)
    raise AssertionError(f'{node.get_role_name()} "{node.get_name()}" has no action {action}')


def press(key, shift=False):
    """Presses `key` (a name in Keys), with Shift held if asked."""
    shift_key = 0xffe1
    if shift:
        Atspi.generate_keyboard_event(shift_key, None, Atspi.KeySynthType.PRESS)
    Atspi.generate_keyboard_event(Keys[key], None, Atspi.KeySynthType.SYM)
    if shift:
        Atspi.generate_keyboard_event(shift_key, None, Atspi.KeySynthType.RELEASE)


def type_text(text):
    Atspi.generate_keyboard_event(0, text, Atspi.KeySynthType.STRING)


def text_of(node):
    return Atspi.Text.get_text(node, 0, -1)


def headless_options(weston):
    """weston's options for its headless backend, drawing with pixman (for screenshots): weston
    12 renamed its backends and renderers."""
    version = subprocess.run([weston, '--version'], capture_output=True, text=True, check=True,
                             timeout=Wait).stdout
    if int(re.search(r'weston (\d+)', version).group(1)) >= 12:
        return ['--backend=headless', '--renderer=pixman']
    return ['--backend=headless-backend.so', '--use-pixman']


class DisplayServer:
    """Xvfb or a headless weston of the caller's own (`backend` x11 or wayland), with what
    that backend cannot do and its environment for the program."""

    def __init__(self, backend, weston_options=()):
        self.cannot = Cannot[backend]
        self.folder = tempfile.mkdtemp(prefix='primteiler-desktop-')
        os.chmod(self.folder, 0o700)
        self.weston = None
        if backend == 'x11':
            subprocess.run([Xvfb, 'start', self.folder,
                            f'{Screen[0]}x{Screen[1]}'], check=True, timeout=Wait)
            with open(f'{self.folder}/display', encoding='ascii') as display:
                self.env = {'DISPLAY': display.read().strip(), 'GDK_BACKEND': 'x11'}
            return
        self.env = {'XDG_RUNTIME_DIR': self.folder, 'WAYLAND_DISPLAY': 'primteiler',
                    'GDK_BACKEND': 'wayland'}
        weston = os.environ.get('PRIMTEILER_WESTON', 'weston')
        self.weston = subprocess.Popen(
            [weston, *headless_options(weston),
             '--socket=primteiler', f'--width={Screen[0]}', f'--height={Screen[1]}',
             '--idle-time=0', *weston_options],
            env={**os.environ, **self.env}, stdout=subprocess.DEVNULL,
            stderr=open(f'{self.folder}/weston.log', 'w'))
        try:
            within('weston to listen', lambda: os.path.exists(f'{self.folder}/primteiler'))
        except AssertionError:
            self.stop()
            raise

    def share(self):
        """Hands the display to the services that D-Bus starts, the accessibility bus and its
        registry among them: the registry presses keys through the X server."""
        subprocess.run(['dbus-update-activation-environment',
                        *(f'{name}={value}' for name, value in self.env.items())],
                       check=True, timeout=Wait)

    def stop(self):
        if self.weston:
            self.weston.terminate()
            try:
                self.weston.wait(timeout=Wait)
            except subprocess.TimeoutExpired:
                self.weston.kill()
                self.weston.wait()
        else:
            subprocess.run([Xvfb, 'stop', self.folder], timeout=Wait)
        subprocess.run(['rm', '-rf', self.folder], timeout=Wait)

    def start(self, program):
        """`program` started on this display (and on no other)."""
        environment = {k: v for k, v in os.environ.items()
                       if k not in ('DISPLAY', 'WAYLAND_DISPLAY')}
        return subprocess.Popen([program], env={**environment, **self.env},
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
