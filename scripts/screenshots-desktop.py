#!/usr/bin/python3
# dbus-run-session -- scripts/screenshots-desktop.py wayland|x11 <primteiler-gtk> <examples> <folder>
# Pictures of the desktop edition's two windows, the input window and the report for 360, as GTK
# draws them: on Wayland (weston's headless backend; GTK draws the title bar itself) as
# gtk-input.png and gtk-report-360.png, on X11 (Xvfb, where no window manager adds one) as
# gtk-x11-input.png and gtk-x11-report-360.png. <examples>: the worked examples as JSON. Needs
# what tests/ui/desktop_driver.py needs.
import glob
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'ui'))
from desktop_driver import (Atspi, DisplayServer, Role, Wait, act, find, window,  # noqa: E402
                            within)

backend, program, examples, folder = sys.argv[1:]
with open(examples, encoding='utf-8') as examples_file:
    facts = json.load(examples_file)
folder = os.path.abspath(folder)
# weston: a plain background, no panel and no fading, so that the window can be cut out of the
# screen.
weston_config = os.path.join(folder, 'weston.ini')
with open(weston_config, 'w', encoding='ascii') as config:
    config.write('[shell]\nbackground-color=0xff3a6ea5\npanel-position=none\n'
                 'animation=none\nclose-animation=none\nstartup-animation=none\n')


def shoot(server, backend, node, path):
    time.sleep(0.5)  # let it paint
    if backend == 'x11':
        box = node.get_extents(Atspi.CoordType.SCREEN)
        subprocess.run(['import', '-window', 'root', '-crop',
                        f'{box.width}x{box.height}+{box.x}+{box.y}', '+repage', path],
                       env={**os.environ, **server.env}, check=True, timeout=Wait)
        return
    for old in glob.glob(os.path.join(server.folder, 'wayland-screenshot-*.png')):
        os.remove(old)
    subprocess.run(['weston-screenshooter'], cwd=server.folder, env={**os.environ, **server.env},
                   check=True, timeout=Wait)
    screen = within('the screenshot',
                    lambda: glob.glob(os.path.join(server.folder, 'wayland-screenshot-*.png')))
    subprocess.run(['convert', screen[0], '-trim', '+repage', path], check=True, timeout=Wait)


prefix = {'wayland': 'gtk', 'x11': 'gtk-x11'}[backend]
server = DisplayServer(backend, ('--debug', f'--config={weston_config}'))
process = None
try:
    server.share()
    process = server.start(program)
    frame = window(process, Role.FRAME, facts['inputCaption'])
    field = within('the field', lambda: find(frame, Role.TEXT, facts['inputPrompt']))
    shoot(server, backend, frame, os.path.join(folder, f'{prefix}-input.png'))
    Atspi.EditableText.set_text_contents(field, '360')
    act(field, 'activate')
    alert = window(process, Role.ALERT, facts['reportCaption'])
    shoot(server, backend, alert, os.path.join(folder, f'{prefix}-report-360.png'))
    act(within('OK', lambda: find(alert, Role.PUSH_BUTTON, 'OK')), 'click')
    process.communicate(timeout=Wait)
finally:
    if process and process.poll() is None:
        process.kill()
    server.stop()
    os.remove(weston_config)
print(f'wrote {folder}/{prefix}-input.png and {folder}/{prefix}-report-360.png')
