# python3 bench/desktop_start.py <primteiler-gtk> <worked examples JSON> <runs>, on an X display
# in a D-Bus session (bench/desktop_start sets both up): the time from starting the program to
# its input window being mapped, polled with xdotool every few milliseconds.
import json
import re
import statistics
import subprocess
import sys
import time

program, examples, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
with open(examples, encoding='utf-8') as examples_file:
    caption = json.load(examples_file)['inputCaption']
pattern = f'^{re.escape(caption)}$'


def start_up():
    """Seconds from the start to the input window on screen; the program is ended after."""
    began = time.perf_counter()
    process = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', pattern],
                             stdout=subprocess.DEVNULL).returncode != 0:
            if time.perf_counter() - began > 10:
                raise SystemExit('no input window within 10 s')
        return time.perf_counter() - began
    finally:
        process.kill()
        process.wait(timeout=10)


start_up()  # unseen: the first program of a session starts the accessibility bus
times = [start_up() for _ in range(runs)]
print('start-up to the input window (ms):', ' '.join(f'{t * 1000:.0f}' for t in times))
print(f'median of {runs}: {statistics.median(times) * 1000:.0f} ms')
