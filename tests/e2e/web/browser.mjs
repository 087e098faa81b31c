// Debian's Chromium, headless, driven by playwright-core, against a folder served on loopback:
// what the page's test and its benchmarks share. As root with no display, Chromium needs these
// flags; without the background-networking ones it keeps trying to reach the network.
// Playwright adds --headless, and gives every launch a new, empty profile of its own.

import {chromium} from 'playwright-core';

import {serve} from '../../../scripts/serve.mjs';

export const CHROMIUM_FLAGS = [
    '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export async function launch(folder, executablePath) {
    const server = await serve(folder);
    const origin = `http://127.0.0.1:${server.address().port}`;
    const browser = await chromium.launch({
        executablePath,
        args: CHROMIUM_FLAGS,
    });
    return {browser, server, origin};
}
