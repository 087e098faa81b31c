// Debian's Chromium, headless, driven by playwright-core, against a folder served on loopback:
// what the page's test and its benchmarks share. As root with no display, Chromium needs these
// flags; without the background-networking ones it keeps trying to reach the network.
// Playwright adds --headless, and gives every launch a new, empty profile of its own.

import {chromium} from 'playwright-core';

import {serve} from '../../../scripts/serve.mjs';

// Headless Chromium is the whole browser with its window drawn nowhere, and every new context
// opens a window that builds its address bar's pop-up as a page of its own, a WebUI renderer that
// costs as much processor time as a visit to our page. On two cores it ran beside half the
// visits, at random. These features keep it from being built. Chromium keeps only the last
// --disable-features, so this one also repeats what Playwright 1.65 disables for itself.
const PLAYWRIGHT_FEATURES_OFF = [
    'AvoidUnnecessaryBeforeUnloadCheckSync', 'DestroyProfileOnBrowserClose', 'HttpsUpgrades',
    'HttpsFirstBalancedModeAutoEnable', 'LensOverlay', 'MediaRouter', 'PaintHolding',
    'ThirdPartyStoragePartitioning', 'AvoidCorsURLLoaderRestartOnRedirect', 'OptimizationHints',
    'NetworkTimeServiceQuerying', 'AimEnabled', 'PreconnectToSearch',
];
const ADDRESS_BAR_POPUP = [
    'WebUIOmniboxPopup', 'WebUIOmniboxFullPopup', 'WebUIOmniboxAimPopup', 'PreloadTopChromeWebUI',
];

export const CHROMIUM_FLAGS = [
    '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-features=' + [...PLAYWRIGHT_FEATURES_OFF, ...ADDRESS_BAR_POPUP].join(','),
];

// A folder served on a free loopback port, and the origin its pages have.
export async function served(folder) {
    const server = await serve(folder);
    return {server, origin: `http://127.0.0.1:${server.address().port}`};
}

export async function launch(folder, executablePath) {
    const {server, origin} = await served(folder);
    const browser = await chromium.launch({
        executablePath,
        args: CHROMIUM_FLAGS,
    });
    return {browser, server, origin};
}
