// Debian's Chromium, headless, driven by Playwright: for the browser tests, the web benchmark
// and the README's screenshots.
import { createRequire } from 'node:module';

// playwright-core as npm ci installed it beside this file, wherever the importer lives.
const { chromium } = createRequire(import.meta.url)('playwright-core');

// Chromium from PRIMTEILER_CHROMIUM, else Debian's. The machine has no network: no background
// connections, no first-run work; as root it runs without its sandbox.
export function launchChromium() {
    return chromium.launch({
        executablePath: process.env.PRIMTEILER_CHROMIUM || '/usr/bin/chromium',
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync'],
        timeout: 30_000,
    });
}
